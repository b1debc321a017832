// A failure of the settings file says what failed, and on the next line where and why.
#include <gmock/gmock.h>

#include "TableHarness.h"

using namespace spades;
using namespace spades::testing;

namespace {

enum class TBreak { FolderInPlaceOfTheFile, FileInPlaceOfTheFolder };
enum class TWhen { Start, Close, PreferencesOk };

struct TErrorCase {
    const char* Name;
    TBreak Break;
    TWhen When;
    const char* Text;    // the fixed text of the failure
    const char* Reason;  // part of the system's reason
};

class TableErrors : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(TableErrors, SayWhyAndWhere)
{
    const TErrorCase& param = GetParam();
    TTableHarness table;
    const QString folder = table.Config.path() + "/Tarnwell";
    const auto breakIt = [&] {
        QDir(folder).removeRecursively();
        if (param.Break == TBreak::FolderInPlaceOfTheFile) {
            QDir().mkpath(table.SettingsPath());
        } else {
            QFile file(folder);
            file.open(QIODevice::WriteOnly);
        }
    };
    if (param.When == TWhen::Start)
        breakIt();
    TfrmMain& window = table.Open();
    if (param.When != TWhen::Start)
        breakIt();
    if (param.When == TWhen::PreferencesOk) {
        table.Prompts.OnDialog = [](QDialog&) { return int(QDialog::Accepted); };
        window.Steps().Request(TTableRequest::Preferences);
    }
    window.close();

    bool found = false;
    for (const auto& notice : table.Prompts.Notices) {
        const QStringList lines = notice.Text.split('\r');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            if (!lines[i].startsWith(param.Text))
                continue;
            found = true;
            EXPECT_THAT(lines[i + 1].toStdString(), ::testing::HasSubstr(table.SettingsPath().toStdString()));
            EXPECT_THAT(lines[i + 1].toStdString(), ::testing::HasSubstr(param.Reason));
        }
    }
    EXPECT_TRUE(found) << "no notice says \"" << param.Text << "\" with a line below it";
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TableErrors,
    ::testing::Values(TErrorCase{"UnreadableAtStart", TBreak::FolderInPlaceOfTheFile, TWhen::Start,
                                 "Failed to get data for", "not a regular file"},
                      TErrorCase{"NoFolderAtClose", TBreak::FileInPlaceOfTheFolder, TWhen::Close,
                                 "Failed to create key Options", "cannot create the folder"},
                      TErrorCase{"NoFolderAfterPreferences", TBreak::FileInPlaceOfTheFolder, TWhen::PreferencesOk,
                                 "Failed to create key Options", "cannot create the folder"}),
    [](const ::testing::TestParamInfo<TErrorCase>& info) { return std::string(info.param.Name); });

}  // namespace
