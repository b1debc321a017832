// Game > Statistics: each seat name with its type and its figures over a period
// and by the rules played (with the wins of each side and pair of partners in
// partnership games), the four scores hand by hand of one game as a chart, a replay or a review of
// one of its hands, and a reset of the whole record that asks first.
#pragma once

#include <QDialog>
#include <QSqlDatabase>
#include <functional>
#include <vector>

#include "HistoryQueries.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace spades {

class TdlgStatistics : public QDialog {
    Q_OBJECT
public:
    // The dialog's result when the user asks to watch a hand again.
    static constexpr int ReplayResult = 2;

    // currentGame: the game in play (0: none), shown first and kept by a reset.
    // ask puts a Yes/No question to the user; reset runs a confirmed reset.
    TdlgStatistics(const QSqlDatabase& db, qint64 currentGame, std::function<bool(const QString&)> ask,
                   std::function<void()> reset, QWidget* owner = nullptr);

    qint64 ReplayGame() const { return FReplayGame; }
    int ReplayHand() const { return FReplayHand; }
    // The game the chart shows; 0 when none.
    qint64 ShownGame() const;

    QComboBox* cbxPeriod() const { return FPeriod; }
    // All games, the table's own rules, then each house rules played; shown
    // once some game was played by house rules.
    QComboBox* cbxRules() const { return FRules; }
    QTableWidget* lvwFigures() const { return FFigures; }
    // The partnership games' sides and pairs; shown when there are some.
    QTableWidget* lvwSides() const { return FSides; }
    QComboBox* cbxGame() const { return FGame; }
    QChart* Chart() const { return FChart; }
    QSpinBox* edtHand() const { return FHand; }
    QPushButton* btnReplay() const { return FReplay; }
    QPushButton* btnReview() const { return FReview; }
    QPushButton* btnReset() const { return FReset; }

    // Everything read again from the file.
    void Reload();

private:
    void FillRules(const QDateTime& since);
    // The rules chosen: nothing for all games.
    TRulesFilter ChosenRules() const;
    void FillFigures(const QDateTime& since);
    void FillSides(const QDateTime& since);
    void FillGames(const QDateTime& since);
    void ShowGame();
    void ResetClick();
    void ReplayClick();
    void ReviewClick();

    QSqlDatabase FDb;
    qint64 FCurrent;
    std::function<bool(const QString&)> FAsk;
    std::function<void()> FResetStore;
    QComboBox* FPeriod = nullptr;
    QLabel* FRulesLabel = nullptr;
    QComboBox* FRules = nullptr;
    QTableWidget* FFigures = nullptr;
    QTableWidget* FSides = nullptr;
    QComboBox* FGame = nullptr;
    QChartView* FChartView = nullptr;
    QChart* FChart = nullptr;
    QLabel* FNoHands = nullptr;
    QSpinBox* FHand = nullptr;
    QPushButton* FReplay = nullptr;
    QPushButton* FReview = nullptr;
    QPushButton* FReset = nullptr;
    qint64 FReplayGame = 0;
    int FReplayHand = 0;
};

// The period choices: all time, or the last 30 days before now.
QDateTime PeriodStart(int periodIndex, const QDateTime& now = QDateTime::currentDateTimeUtc());

// "12 of 16 (75%)"; "none" when there were none.
QString CountWithRate(long long part, long long whole);

}  // namespace spades
