#include <gmock/gmock.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "PlayLogFile.h"

using namespace spades;
using ::testing::HasSubstr;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PlayLogFile, WritesIntoTheProgramsFolder)
{
    QTemporaryDir program, data;
    TPlayLogFile log(program.path(), data.path());
    EXPECT_FALSE(log.IsOpen());
    ASSERT_TRUE(log.Open(nullptr));
    EXPECT_EQ(log.Path(), QDir(program.path()).filePath("Spades.Log"));
    log.Log().WriteLogLine("Play: x");
    log.Close();
    EXPECT_EQ(ReadAll(log.Path()), "Play: x\r\n");
}

TEST(PlayLogFile, EachRunStartsANewLog)
{
    QTemporaryDir program, data;
    {
        QFile old(QDir(program.path()).filePath("Spades.Log"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("from an earlier run\r\n");
    }
    TPlayLogFile log(program.path(), data.path());
    ASSERT_TRUE(log.Open(nullptr));
    log.Log().WriteLogLine("new");
    log.Close();
    EXPECT_EQ(ReadAll(log.Path()), "new\r\n");
}

TEST(PlayLogFile, FallsBackToTheDataFolder)
{
    QTemporaryDir temp;
    // A regular file where the program's folder should be: nothing can be created below it.
    const QString blocked = QDir(temp.path()).filePath("not-a-folder");
    QFile(blocked).open(QIODevice::WriteOnly);
    const QString data = QDir(temp.path()).filePath("data/Tarnwell/Spades");
    TPlayLogFile log(blocked, data);
    ASSERT_TRUE(log.Open(nullptr));
    EXPECT_EQ(log.Path(), QDir(data).filePath("Spades.Log"));
    EXPECT_TRUE(QFile::exists(log.Path()));
}

TEST(PlayLogFile, NoFolderGivesOneClearReason)
{
    QTemporaryDir temp;
    const QString blocked = QDir(temp.path()).filePath("not-a-folder");
    QFile(blocked).open(QIODevice::WriteOnly);
    TPlayLogFile log(blocked, blocked + "/data");
    QString error;
    EXPECT_FALSE(log.Open(&error));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_THAT(error.toStdString(), HasSubstr("Play goes on without a log"));
    EXPECT_THAT(error.toStdString(), HasSubstr("not-a-folder"));
}

TEST(PlayLogFile, OpeningAgainKeepsTheSameFile)
{
    QTemporaryDir program, data;
    TPlayLogFile log(program.path(), data.path());
    ASSERT_TRUE(log.Open(nullptr));
    log.Log().WriteLogLine("one");
    ASSERT_TRUE(log.Open(nullptr));
    log.Log().WriteLogLine("two");
    log.Close();
    EXPECT_EQ(ReadAll(log.Path()), "one\r\ntwo\r\n");
}

}  // namespace
