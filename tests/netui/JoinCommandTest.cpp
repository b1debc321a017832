#include <gmock/gmock.h>

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>

#include <array>
#include <string>

#include "JoinCommand.h"
#include "NetDialogs.h"
#include "NetWindowFake.h"

using namespace spades::net;
using namespace spades::net::testing;

namespace {

struct TArgs {
    const char* Name;
    QStringList Arguments;
    bool Joins;
    const char* Host;
    int Port;
    const char* Problem;  // empty: none
};
class JoinArguments : public ::testing::TestWithParam<TArgs> {};
TEST_P(JoinArguments, AreReadIntoARequestOrAProblem)
{
    const TArgs& c = GetParam();
    const TJoinArguments read = ReadJoinArguments(QStringList{"quelbrin-spades"} + c.Arguments);
    ASSERT_EQ(read.Request.has_value(), c.Joins);
    if (c.Problem[0])
        EXPECT_THAT(read.Error.toStdString(), ::testing::HasSubstr(c.Problem));
    else
        EXPECT_TRUE(read.Error.isEmpty()) << read.Error.toStdString();
    if (read.Request) {
        EXPECT_EQ(read.Request->Host.toStdString(), c.Host);
        EXPECT_EQ(read.Request->Port, c.Port);
    }
}
INSTANTIATE_TEST_SUITE_P(
    NetWindow, JoinArguments,
    ::testing::Values(TArgs{"None", {}, false, "", 0, ""},
                      TArgs{"HostAndPort", {"--join", "10.0.0.5:7600", "--code", "ABCDEFGH23"}, true, "10.0.0.5", 7600, ""},
                      TArgs{"EqualsForm", {"--join=table.lan:8000", "--name=Ann"}, true, "table.lan", 8000, ""},
                      TArgs{"NoPort", {"--join", "table.lan"}, true, "table.lan", 7455, ""},
                      TArgs{"BracketedIpv6", {"--join", "[::1]:7601"}, true, "::1", 7601, ""},
                      TArgs{"BareIpv6", {"--join", "fe80::1"}, true, "fe80::1", 7455, ""},
                      TArgs{"PortOutOfRange", {"--join", "h:70000"}, true, "", 7455, "HOST:PORT"},
                      TArgs{"PortNotANumber", {"--join", "h:x"}, true, "", 7455, "HOST:PORT"},
                      TArgs{"UnclosedBracket", {"--join", "[::1:7601"}, true, "", 7455, "HOST:PORT"},
                      TArgs{"CodeWithoutJoin", {"--code", "ABCDEFGH23"}, false, "", 0, "--join"},
                      TArgs{"UnknownOption", {"--jion", "h:1"}, false, "", 0, "jion"},
                      TArgs{"StrayArgument", {"table.lan"}, false, "", 0, "table.lan"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(NetWindow, TheNameIsTakenOutOfArgvBeforeQtCanClaimIt)
{
    std::array<std::string, 7> words{"quelbrin-spades", "--name", "Ann", "--join", "h:1", "--name=Bo", "-platform"};
    std::array<char*, 8> argv{};
    for (size_t i = 0; i < words.size(); ++i)
        argv[i] = words[i].data();
    int argc = 7;
    EXPECT_EQ(TakeNameArguments(argc, argv.data()), (QStringList{"--name", "Ann", "--name=Bo"}));
    ASSERT_EQ(argc, 4);
    EXPECT_STREQ(argv[1], "--join");
    EXPECT_STREQ(argv[3], "-platform");
    EXPECT_EQ(argv[4], nullptr);
}

// A complete request sits at the table at once; one missing its code opens the
// dialog filled in with what was given, saying what is missing.
TEST(NetWindow, AJoinFromTheCommandLineSitsAtOnceOrAsksForWhatIsMissing)
{
    QTemporaryDir config;
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    TFakeWindow window;
    JoinFromRequest(window, {"127.0.0.1", 9, "ABCDEFGH23", "Ann"});
    EXPECT_NE(window.JoinedTable(), nullptr);
    window.LeaveJoinedTable();

    QString asked;
    int port = 0;
    window.Notices.OnDialog = [&](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            asked += label->text();
        port = dialog.findChild<QSpinBox*>()->value();
        return int(QDialog::Rejected);
    };
    JoinFromRequest(window, {"127.0.0.1", 7601, "", "Ann"});
    EXPECT_EQ(window.JoinedTable(), nullptr);
    EXPECT_THAT(asked.toStdString(), ::testing::HasSubstr("join code"));
    EXPECT_EQ(port, 7601);
    qputenv("XDG_CONFIG_HOME", before);
}

}  // namespace
