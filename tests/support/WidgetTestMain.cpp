#include "common/ScaledStyle.h"

#include <QApplication>
#include <gtest/gtest.h>

// Widget tests without the main window; without a display they use Qt's offscreen platform.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(new velmor::ScaledStyle);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
