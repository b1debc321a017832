// The preferences dialog: play speed and score to win, the table surface, the
// card back, the seats' names and types, and the songs. It edits the live
// preferences as the user goes; the main window saves or reloads them after.
#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "Defaults.h"
#include "PreferencesHost.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace spades {

class TCardDeck;
class TDeckChooser;
class TMediaPlayer;
class TShape;
class TPreferencesPrompts;
class TRulesPage;
struct TMusicSettings;
struct TTableState;

class TdlgOptions : public QDialog {
    Q_OBJECT
public:
    // previewPlayer: the player Preview uses; the dialog makes its own when none is given.
    TdlgOptions(TPreferencesHost& owner, TMediaPlayer* previewPlayer = nullptr);
    ~TdlgOptions() override;

    // The song chooser starts here.
    void SetInitialFolder(const QString& folder) { FInitialFolder = folder; }
    static constexpr const char* SongFilter = "Midi Files (*.mid *.rmi)";

    // Controls, by the names the window and its tests know them.
    QTabWidget* pgeOptions() const { return FPages; }
    QComboBox* cbxSpeed() const { return FSpeed; }
    QRadioButton* ScoreButton(int index) const { return FScore[static_cast<size_t>(index)]; }
    QComboBox* cbxPlayers() const { return FPlayers; }
    QLineEdit* edtPlayerName() const { return FName; }
    QRadioButton* TypeButton(int index) const { return FType[static_cast<size_t>(index)]; }
    QPushButton* btnOk() const { return FOk; }
    QPushButton* btnCancel() const { return FCancel; }
    QCheckBox* CheckBox1() const { return FMusicOn; }
    QCheckBox* chkMarkPlayable() const { return FMarkPlayable; }
    QCheckBox* chkAnimateCards() const { return FAnimateCards; }
    QCheckBox* chkRefusalsOnTable() const { return FRefusalsOnTable; }
    QCheckBox* chkSoundNoticeOnTable() const { return FSoundNoticeOnTable; }
    QCheckBox* chkCheckPlays() const { return FCheckPlays; }
    QLabel* SongPanel(int slot) const { return FPanels[static_cast<size_t>(slot)]; }
    QPushButton* ChooseButton(int slot) const { return FChoose[static_cast<size_t>(slot)]; }
    QPushButton* PreviewButton(int slot) const { return FPreview[static_cast<size_t>(slot)]; }
    QLabel* SurfaceImage(int index) const { return FSurfaces[static_cast<size_t>(index)]; }
    TCardDeck* BackCard(int index) const { return FBacks[static_cast<size_t>(index)]; }
    TShape* Shape1() const { return FSurfaceFrame; }
    TDeckChooser* cbxDeck() const { return FDeckChooser; }
    TShape* shpCardSel() const { return FBackFrame; }
    TMediaPlayer& MediaPlayer2() const { return *FPreviewPlayer; }
    TRulesPage* RulesPage() const { return FRulesPage; }

    // Page numbers in their order.
    enum TPage { tabGeneral, tabTable, tabCards, tabPlayers, TabMusic, tabRules };

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    static constexpr const char* NoSong = "<none>";
    static constexpr const char* NoSongHint = "<no song selected>";
    void FormCreate();
    void FormShow();
    void pgeOptionsChange(int page);
    void tabGeneralEnter();
    void tabGeneralExit();
    void tabTableEnter();
    void ImageClick(QLabel& image);
    void tabCardsEnter();
    void CardClick(TCardDeck& card);
    void tabPlayersEnter();
    void cbxPlayersChange();
    void edtPlayerNameExit();
    void rgpPlayerTypeClick(int index);
    void Button1Click(int slot);
    void Button9Click(int slot);
    void CheckBox1Click(bool checked);
    void FormClose();
    void ShowSong(int slot);
    void MoveFrame(TShape& frame, const QWidget& target);
    void FocusFirstControl(int page);

    QWidget* CreateGeneralPage();
    QWidget* CreateTablePage();
    QWidget* CreateCardsPage();
    QWidget* CreatePlayersPage();
    QWidget* CreateMusicPage();

    TPreferencesHost& FOwner;
    TDefaults& Defaults() const;
    TMusicSettings& Music() const;
    TTableState& Table() const;
    TPreferencesPrompts& Prompts() const;

    QString FInitialFolder;
    std::unique_ptr<TMediaPlayer> FOwnPreview;
    TMediaPlayer* FPreviewPlayer = nullptr;
    int FPage = tabGeneral;
    bool FClosed = false;
    bool FNameEdited = false;  // typed into since it was last stored

    QTabWidget* FPages = nullptr;
    QComboBox* FSpeed = nullptr;
    std::array<QRadioButton*, 2> FScore{};
    std::array<QLabel*, 4> FSurfaces{};
    TShape* FSurfaceFrame = nullptr;
    TDeckChooser* FDeckChooser = nullptr;
    std::array<TCardDeck*, TDefaults::BackCount> FBacks{};
    TShape* FBackFrame = nullptr;
    QComboBox* FPlayers = nullptr;
    QGroupBox* FPlayerGroup = nullptr;
    QLineEdit* FName = nullptr;
    std::array<QRadioButton*, 3> FType{};  // Computer, Human, Expert
    std::array<QPushButton*, 8> FChoose{};
    std::array<QLabel*, 8> FPanels{};
    std::array<QPushButton*, 8> FPreview{};
    TRulesPage* FRulesPage = nullptr;
    QCheckBox* FMusicOn = nullptr;
    QCheckBox* FMarkPlayable = nullptr;
    QCheckBox* FAnimateCards = nullptr;
    QCheckBox* FRefusalsOnTable = nullptr;
    QCheckBox* FSoundNoticeOnTable = nullptr;
    QCheckBox* FCheckPlays = nullptr;
    QPushButton* FOk = nullptr;
    QPushButton* FCancel = nullptr;
};

// The Preferences command of the main window: stops the music, runs the dialog,
// saves and applies on OK or reloads on Cancel, and starts the music again.
void RunPreferences(TPreferencesHost& owner);

}  // namespace spades
