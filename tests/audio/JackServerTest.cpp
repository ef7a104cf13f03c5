#include "audio/JackServer.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace velmor;

namespace {

class JackServerTest : public ::testing::Test {
protected:
    // A socket file at `path`, as a server's (nobody serves it).
    void socketAt(const QString& path) {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = path.toLocal8Bit();
        ASSERT_LT(size_t(name.size()), sizeof(address.sun_path));
        std::copy(name.begin(), name.end(), address.sun_path);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        close(fd);
    }

    std::string shm() const { return shm_.path().toStdString(); }
    std::string runtime() const { return runtime_.path().toStdString(); }

    QTemporaryDir shm_;
    QTemporaryDir runtime_;
};

} // namespace

TEST_F(JackServerTest, AJackdSocketMeansAServerMayRun) {
    socketAt(shm_.filePath("jack_default_0_0"));
    EXPECT_TRUE(audio::JackServerMayRun(shm(), runtime()));
}

// libjack's attempt without a server leaves its metadata folder behind: that is no server.
TEST_F(JackServerTest, LibjacksMetadataFolderIsNoServer) {
    ASSERT_TRUE(QDir(shm_.path()).mkdir(QString("jack_db-%1").arg(getuid())));
    EXPECT_FALSE(audio::JackServerMayRun(shm(), runtime()));
}

TEST_F(JackServerTest, AJackd1FolderMeansAServerMayRun) {
    ASSERT_TRUE(QDir(shm_.path()).mkdir(QString("jack-%1").arg(getuid())));
    EXPECT_TRUE(audio::JackServerMayRun(shm(), runtime()));
}

TEST_F(JackServerTest, PipeWiresSocketMeansAServerMayRun) {
    socketAt(runtime_.filePath("pipewire-0"));
    EXPECT_TRUE(audio::JackServerMayRun(shm(), runtime()));
    EXPECT_FALSE(audio::JackServerMayRun(shm(), ""));
}

TEST(JackClientTest, WithoutAServerAClientIsRefusedAtOnce) {
    if (audio::JackServerMayRun())
        GTEST_SKIP() << "a JACK server may run on this machine";
    jack_status_t status{};
    EXPECT_EQ(jack_client_open("Velmor test", JackNoStartServer, &status), nullptr);
    EXPECT_EQ(status, JackFailure | JackServerFailed);
}
