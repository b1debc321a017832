// A private configuration folder per test, and ways to make saving fail.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "RegErrors.h"

#include <csignal>
#include <exception>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace spades::test {

// Points XDG_CONFIG_HOME at a fresh temporary folder while alive.
class TTempConfig {
public:
    TTempConfig() : FHadOld(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), FOld(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(FDir.path()));
    }
    ~TTempConfig()
    {
        if (FHadOld)
            qputenv("XDG_CONFIG_HOME", FOld);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    TTempConfig(const TTempConfig&) = delete;
    TTempConfig& operator=(const TTempConfig&) = delete;

    QString Path() const { return FDir.path(); }
    QString Folder() const { return FDir.path() + QStringLiteral("/Tarnwell"); }
    QString StoreFile() const { return Folder() + QStringLiteral("/Spades.reg"); }

    void WriteStore(const QByteArray& bytes) const
    {
        ASSERT_TRUE(QDir().mkpath(Folder()));
        QFile file(StoreFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    // The header and one key's value lines.
    void WriteStoreKey(const QString& section, const QByteArray& valueLines) const
    {
        WriteStore("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\" +
                   section.toUtf8() + "]\n" + valueLines + "\n");
    }
    QByteArray ReadStore() const { return ReadFile(StoreFile()); }
    bool StoreExists() const { return QFileInfo::exists(StoreFile()); }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The names in the store's folder, to see that a failed save left no temporary file.
    QStringList FolderEntries() const
    {
        return QDir(Folder()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    }

private:
    QTemporaryDir FDir;
    bool FHadOld;
    QByteArray FOld;
};

// While alive no file may grow past `bytes`: writes beyond fail as on a full disk,
// also for root, whom file permissions do not stop.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FOld);
        rlimit limit = FOld;
        limit.rlim_cur = bytes;
        FActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &FOld);
        std::signal(SIGXFSZ, FOldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    bool Active() const { return FActive; }

private:
    rlimit FOld{};
    void (*FOldHandler)(int) = nullptr;
    bool FActive = false;
};

// While alive no new file can be opened: the next descriptor lies past the limit.
class TOpenFileLimit {
public:
    TOpenFileLimit()
    {
        getrlimit(RLIMIT_NOFILE, &FOld);
        const int lowestFree = ::dup(0);
        if (lowestFree < 0)
            return;
        ::close(lowestFree);
        rlimit limit = FOld;
        limit.rlim_cur = static_cast<rlim_t>(lowestFree);
        FActive = setrlimit(RLIMIT_NOFILE, &limit) == 0;
    }
    ~TOpenFileLimit() { setrlimit(RLIMIT_NOFILE, &FOld); }
    TOpenFileLimit(const TOpenFileLimit&) = delete;
    TOpenFileLimit& operator=(const TOpenFileLimit&) = delete;

    bool Active() const { return FActive; }

private:
    rlimit FOld{};
    bool FActive = false;
};

// Makes the store's folder impossible to create: a regular file takes its name.
inline void BlockStoreFolder(const TTempConfig& config)
{
    QFile blocker(config.Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
}

// Only catches: under a resource limit even the sanitizers' type checks may fail,
// so the exception is looked at once the limit is gone.
template <typename F>
std::exception_ptr Capture(F&& operation)
{
    try {
        operation();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

inline std::string ErrorText(const std::exception_ptr& error)
{
    if (!error)
        return "<no error>";
    try {
        std::rethrow_exception(error);
    } catch (const ERegistryException& e) {
        return e.what();
    } catch (...) {
        return "<another exception>";
    }
}

template <typename F>
std::string ErrorOf(F&& operation)
{
    return ErrorText(Capture(std::forward<F>(operation)));
}

class PrefsTest : public ::testing::Test {
protected:
    TTempConfig Config;
};

}  // namespace spades::test
