#include "app/Application.h"
#include "common/ScaledStyle.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget tests run the real window; without a display they use Qt's offscreen platform.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application object: it knows whether an event is the user's input,
    // which decides whether a failure is told in a box or a notice.
    velmor::Application app(argc, argv);
    // The looks the window keeps of tracks go to a folder of this run, not the user's cache.
    const QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    velmor::Application::setStyle(new velmor::ScaledStyle);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
