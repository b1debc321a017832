// Song paths on the Music page: too long, they lose their middle, never their end.
#include <gmock/gmock.h>

#include <QTabWidget>

#include "OptDialog.h"
#include "PathLabel.h"
#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

struct TPathCase {
    const char* Name;
    const char* Path;
    bool Elided;
};

class PathPanel : public ::testing::TestWithParam<TPathCase> {};

TEST_P(PathPanel, ShowsTheStartAndTheFileName)
{
    TTableHarness table;
    TfrmMain& window = table.Open();
    window.Music().SetSong(0, GetParam().Path);
    table.Prompts.OnDialog = [&](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        dialog.show();
        options.pgeOptions()->setCurrentIndex(TdlgOptions::TabMusic);
        auto* panel = qobject_cast<TPathLabel*>(options.SongPanel(0));
        EXPECT_NE(panel, nullptr);
        if (!panel)
            return int(QDialog::Rejected);
        const QString path = GetParam().Path;
        const QString shown = panel->ShownText();
        EXPECT_EQ(panel->toolTip(), path) << "the whole path is the tooltip";
        EXPECT_EQ(shown != path, GetParam().Elided);
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(shown), panel->contentsRect().width());
        if (GetParam().Elided) {
            EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(shown.endsWith(path.mid(path.lastIndexOf('/') + 1).right(6))) << shown.toStdString();
            EXPECT_TRUE(shown.startsWith(path.left(2))) << shown.toStdString();
        }
        return int(QDialog::Rejected);
    };
    window.Steps().Request(TTableRequest::Preferences);
    EXPECT_EQ(table.Prompts.Dialogs, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathPanel,
    ::testing::Values(TPathCase{"Short", "/tmp/a.mid", false},
                      TPathCase{"InstalledDefault", "/usr/lib/quelbrin-spades/Spades0.rmi", true},
                      TPathCase{"DeepFolder", "/home/someone/Music/Collections/Card games/Evening/Spades3.mid", true}),
    [](const ::testing::TestParamInfo<TPathCase>& info) { return std::string(info.param.Name); });

}  // namespace
