#include <QCoreApplication>
#include <gtest/gtest.h>

// Tests without widgets (the audio engine's, the soak's verdicts): a core application is
// enough for timers and queued calls.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
