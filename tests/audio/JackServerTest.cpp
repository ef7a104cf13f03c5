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

// A socket file at `path`, as a server's (nobody serves it).
void SocketAt(const QString& path) {
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

} // namespace

// The folder libjack's attempt without a server leaves behind is no server; PipeWire's socket
// in the runtime folder (where that is known), a jackd1's folder or a jackd's socket in the
// shared-memory folder each means a server may run.
TEST(JackServerTest, WhatAServerLeavesMeansOneMayRun) {
    const QTemporaryDir shm, runtime;
    const std::string shmPath = shm.path().toStdString();
    const QString jackd1 = QString("jack-%1").arg(getuid());
    ASSERT_TRUE(QDir(shm.path()).mkdir(QString("jack_db-%1").arg(getuid())));
    EXPECT_FALSE(audio::JackServerMayRun(shmPath, runtime.path().toStdString()));
    SocketAt(runtime.filePath("pipewire-0"));
    EXPECT_TRUE(audio::JackServerMayRun(shmPath, runtime.path().toStdString()));
    EXPECT_FALSE(audio::JackServerMayRun(shmPath, ""));
    ASSERT_TRUE(QDir(shm.path()).mkdir(jackd1));
    EXPECT_TRUE(audio::JackServerMayRun(shmPath, ""));
    ASSERT_TRUE(QDir(shm.path()).rmdir(jackd1));
    SocketAt(shm.filePath("jack_default_0_0"));
    EXPECT_TRUE(audio::JackServerMayRun(shmPath, ""));
}

TEST(JackClientTest, WithoutAServerAClientIsRefusedAtOnce) {
    if (audio::JackServerMayRun())
        GTEST_SKIP() << "a JACK server may run on this machine";
    jack_status_t status{};
    EXPECT_EQ(jack_client_open("Velmor test", JackNoStartServer, &status), nullptr);
    EXPECT_EQ(status, JackFailure | JackServerFailed);
}
