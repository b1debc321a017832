// Every window carries its own caption; only the table names the program.
#include <gmock/gmock.h>

#include <QApplication>
#include <memory>

#include "AboutBox.h"
#include "Application.h"
#include "BidDialog.h"
#include "HelpViewer.h"
#include "OptDialog.h"
#include "ScoreDialog.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

// The caption X11 shows: Qt appends a display name the program has set, unless the
// title already ends with it. An unset display name follows the application name.
QString X11Caption(const QWidget& window)
{
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(name + " probe");
    const QString display = QGuiApplication::applicationDisplayName();
    const bool pinned = display != name + " probe";
    QCoreApplication::setApplicationName(name);
    const QString title = window.windowTitle();
    return pinned && !title.endsWith(display) ? title + QString::fromUtf8(" \u2014 ") + display : title;
}

struct TCaptionCase {
    const char* Name;
    std::function<std::unique_ptr<QWidget>(TfrmMain&)> Make;
    const char* Caption;
};

class TableCaptions : public ::testing::TestWithParam<TCaptionCase> {};

TEST_P(TableCaptions, ShownAsGiven)
{
    SetUpApplication();
    TTableHarness table;
    TfrmMain& window = table.Open();
    std::unique_ptr<QWidget> shown = GetParam().Make(window);
    EXPECT_EQ(X11Caption(shown ? *shown : window), GetParam().Caption);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TableCaptions,
    ::testing::Values(
        TCaptionCase{"Table", [](TfrmMain&) { return std::unique_ptr<QWidget>(); }, "Quelbrin Spades"},
        TCaptionCase{"Preferences",
                     [](TfrmMain& w) { return std::unique_ptr<QWidget>(std::make_unique<TdlgOptions>(w, w.PreviewPlayer())); },
                     "Preferences"},
        TCaptionCase{"Bid", [](TfrmMain& w) { return std::unique_ptr<QWidget>(std::make_unique<TdlgBid>(&w)); }, "Bid"},
        TCaptionCase{"ScoreCard",
                     [](TfrmMain& w) { return std::unique_ptr<QWidget>(std::make_unique<TdlgScores>(&w)); },
                     "Score Card"},
        TCaptionCase{"Manual", [](TfrmMain&) { return std::unique_ptr<QWidget>(std::make_unique<THelpViewer>()); },
                     "Quelbrin Spades Manual"},
        TCaptionCase{"About", [](TfrmMain& w) { return std::unique_ptr<QWidget>(std::make_unique<TAboutBox>(&w)); },
                     "About Quelbrin Spades"}),
    [](const ::testing::TestParamInfo<TCaptionCase>& info) { return std::string(info.param.Name); });

}  // namespace
