#include "StatsDialog.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

#include "HandReviewDialog.h"
#include "HistoryRules.h"
#include "HistorySchema.h"

namespace spades {

namespace {

const QStringList FigureHeadings = {"Player",       "Type",          "Games",          "Won",
                                    "Win\nrate",    "Points\nper hand", "Bids\nmade",     "Exactly\nmade",
                                    "Nils\nwon",    "Bags\nper hand",   "Best game\nscore"};
const std::array<QColor, 5> SeatColours = {QColor(), QColor(0x1f, 0x5f, 0xbf), QColor(0xc0, 0x39, 0x2b),
                                           QColor(0x1e, 0x8c, 0x45), QColor(0x8e, 0x44, 0xad)};

const QStringList SideHeadings = {"Side or partners", "Games", "Won", "Win\nrate"};

QString Outcome(const TGameSummary& game, bool partnership)
{
    switch (game.Outcome) {
    case TGameOutcome::Won:
        if (partnership)
            return "won by " + QString::fromStdString(SideName(SideOf(std::clamp(game.Winner, 1, 4))));
        return "won by " + game.Names[static_cast<size_t>(std::clamp(game.Winner, 1, 4))];
    case TGameOutcome::Abandoned:
        return "abandoned";
    case TGameOutcome::Unfinished:
        break;
    }
    return "not finished";
}

}  // namespace

QDateTime PeriodStart(int periodIndex, const QDateTime& now)
{
    return periodIndex == 1 ? now.addDays(-30) : QDateTime();
}

QString CountWithRate(long long part, long long whole)
{
    if (whole == 0)
        return "none";
    return QStringLiteral("%1 of %2 (%3%)")
        .arg(part)
        .arg(whole)
        .arg(qRound(100.0 * static_cast<double>(part) / static_cast<double>(whole)));
}

TdlgStatistics::TdlgStatistics(const QSqlDatabase& db, qint64 currentGame, std::function<bool(const QString&)> ask,
                               std::function<void()> reset, QWidget* owner)
    : QDialog(owner), FDb(db), FCurrent(currentGame), FAsk(std::move(ask)), FResetStore(std::move(reset))
{
    setObjectName("dlgStatistics");
    setWindowTitle("Statistics");
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("&Period:"));
    FPeriod = new QComboBox;
    FPeriod->setObjectName("cbxPeriod");
    FPeriod->addItems({"All time", "Last 30 days"});
    qobject_cast<QLabel*>(top->itemAt(0)->widget())->setBuddy(FPeriod);
    top->addWidget(FPeriod);
    FRulesLabel = new QLabel("R&ules:");
    top->addWidget(FRulesLabel);
    FRules = new QComboBox;
    FRules->setObjectName("cbxRules");
    FRules->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FRulesLabel->setBuddy(FRules);
    top->addWidget(FRules);
    top->addStretch();
    layout->addLayout(top);

    FFigures = new QTableWidget(0, static_cast<int>(FigureHeadings.size()));
    FFigures->setObjectName("lvwFigures");
    FFigures->setHorizontalHeaderLabels(FigureHeadings);
    FFigures->verticalHeader()->hide();
    FFigures->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FFigures->setSelectionBehavior(QAbstractItemView::SelectRows);
    FFigures->setMinimumHeight(180);
    FFigures->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(FFigures);

    FSides = new QTableWidget(0, static_cast<int>(SideHeadings.size()));
    FSides->setObjectName("lvwSides");
    FSides->setHorizontalHeaderLabels(SideHeadings);
    FSides->verticalHeader()->hide();
    FSides->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FSides->setSelectionBehavior(QAbstractItemView::SelectRows);
    FSides->setMaximumHeight(150);
    layout->addWidget(FSides);

    auto* games = new QHBoxLayout;
    games->addWidget(new QLabel("&Game:"));
    FGame = new QComboBox;
    FGame->setObjectName("cbxGame");
    FGame->setMaxVisibleItems(20);
    FGame->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FGame->setMinimumContentsLength(40);
    qobject_cast<QLabel*>(games->itemAt(0)->widget())->setBuddy(FGame);
    games->addWidget(FGame, 1);
    games->addWidget(new QLabel("&Hand:"));
    FHand = new QSpinBox;
    FHand->setObjectName("edtHand");
    qobject_cast<QLabel*>(games->itemAt(2)->widget())->setBuddy(FHand);
    games->addWidget(FHand);
    FReplay = new QPushButton("&Replay Hand");
    FReplay->setObjectName("btnReplay");
    games->addWidget(FReplay);
    FReview = new QPushButton("Re&view Hand");
    FReview->setObjectName("btnReview");
    games->addWidget(FReview);
    layout->addLayout(games);

    FChart = new QChart;
    FChart->legend()->setAlignment(Qt::AlignBottom);
    FChartView = new QChartView(FChart);
    FChartView->setObjectName("chtScores");
    FChartView->setRenderHint(QPainter::Antialiasing);
    FChartView->setMinimumSize(640, 300);
    layout->addWidget(FChartView, 1);
    FNoHands = new QLabel("No hand of this game has been scored yet.");
    FNoHands->setAlignment(Qt::AlignCenter);
    layout->addWidget(FNoHands);

    auto* buttons = new QDialogButtonBox;
    FReset = buttons->addButton("Re&set Statistics...", QDialogButtonBox::ResetRole);
    FReset->setObjectName("btnReset");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName("OKBtn");
    layout->addWidget(buttons);

    resize(960, 660);
    connect(FPeriod, &QComboBox::currentIndexChanged, this, [this] { Reload(); });
    connect(FRules, &QComboBox::currentIndexChanged, this, [this] { Reload(); });
    connect(FGame, &QComboBox::currentIndexChanged, this, [this] { ShowGame(); });
    connect(FReplay, &QPushButton::clicked, this, [this] { ReplayClick(); });
    connect(FReview, &QPushButton::clicked, this, [this] { ReviewClick(); });
    connect(FReset, &QPushButton::clicked, this, [this] { ResetClick(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    Reload();
}

void TdlgStatistics::Reload()
{
    const QDateTime since = PeriodStart(FPeriod->currentIndex());
    try {
        FillRules(since);
        FillFigures(since);
        FillSides(since);
        FillGames(since);
    } catch (const EHistoryError& error) {
        FFigures->setRowCount(0);
        FSides->hide();
        FNoHands->setText("The game history could not be read:\n" + error.Text());
    }
}

void TdlgStatistics::FillRules(const QDateTime& since)
{
    const QVariant chosen = FRules->currentData();
    const std::vector<TRulesPlayed> played = RulesPlayed(FDb, since);
    const QSignalBlocker hold(FRules);
    FRules->clear();
    FRules->addItem("All games");
    FRules->addItem("The table's own rules", QString(""));
    bool houseRules = false;
    for (const TRulesPlayed& rules : played) {
        if (rules.Rules.isEmpty())
            continue;
        // An unreadable text is listed too: its games are never lost from sight.
        FRules->addItem(RulesWords(rules.Rules), rules.Rules);
        houseRules = true;
    }
    const int again = chosen.isValid() ? FRules->findData(chosen) : 0;
    FRules->setCurrentIndex(again < 0 ? 0 : again);
    FRulesLabel->setVisible(houseRules);
    FRules->setVisible(houseRules);
}

TRulesFilter TdlgStatistics::ChosenRules() const
{
    const QVariant chosen = FRules->currentData();
    return chosen.isValid() ? TRulesFilter(chosen.toString()) : std::nullopt;
}

void TdlgStatistics::FillSides(const QDateTime& since)
{
    const TPartnershipFigures figures = PartnershipFigures(FDb, since, ChosenRules());
    FSides->setVisible(figures.Games > 0);
    std::vector<QStringList> rows;
    for (int side = 1; side <= 2; ++side)
        rows.push_back({QString::fromStdString(SideName(side)), QString::number(figures.Games),
                        QString::number(figures.SideWon[static_cast<size_t>(side)]),
                        QStringLiteral("%1%").arg(qRound(100.0 * static_cast<double>(figures.SideWon[static_cast<size_t>(side)]) /
                                                         static_cast<double>(std::max(figures.Games, 1LL))))});
    for (const TPairFigures& pair : figures.Pairs)
        rows.push_back({pair.First + " and " + pair.Second, QString::number(pair.Games), QString::number(pair.Won),
                        QStringLiteral("%1%").arg(qRound(100.0 * static_cast<double>(pair.Won) /
                                                         static_cast<double>(std::max(pair.Games, 1LL))))});
    FSides->setRowCount(figures.Games > 0 ? static_cast<int>(rows.size()) : 0);
    for (int row = 0; row < FSides->rowCount(); ++row)
        for (int column = 0; column < rows[static_cast<size_t>(row)].size(); ++column) {
            auto* item = new QTableWidgetItem(rows[static_cast<size_t>(row)][column]);
            if (column >= 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            FSides->setItem(row, column, item);
        }
    FSides->resizeColumnsToContents();
}

void TdlgStatistics::FillFigures(const QDateTime& since)
{
    const std::vector<TSeatFigures> figures = SeatFigures(FDb, since, ChosenRules());
    FFigures->setRowCount(static_cast<int>(figures.size()));
    int row = 0;
    for (const TSeatFigures& f : figures) {
        const QStringList cells = {
            f.Name,
            f.Type == TSeatType::Person ? "Person" : f.Type == TSeatType::Expert ? "Expert" : "Computer",
            QString::number(f.Games),
            QString::number(f.Won),
            QStringLiteral("%1%").arg(qRound(100.0 * f.WinRate())),
            QString::number(f.PointsPerHand(), 'f', 1),
            CountWithRate(f.Made, f.Bids),
            CountWithRate(f.Exact, f.Bids),
            CountWithRate(f.NilsWon, f.Nils),
            QString::number(f.BagsPerHand(), 'f', 2),
            QString::number(f.BestScore),
        };
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            FFigures->setItem(row, column, item);
        }
        ++row;
    }
    FFigures->resizeColumnsToContents();
}

void TdlgStatistics::FillGames(const QDateTime& since)
{
    const qint64 shown = ShownGame();
    const std::vector<TGameSummary> games = GameList(FDb, since, ChosenRules());
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(games.size()));
    for (const TGameSummary& game : games) {
        const QString names = QStringList{game.Names[1], game.Names[2], game.Names[3], game.Names[4]}.join(", ");
        const bool partnership = GameRules(game.Rules, TRuleSet{}.WinScore).Rules.Partnership();
        QString text = QStringLiteral("%1  %2  %3, %4")
                           .arg(game.Id)
                           .arg(game.Started.toLocalTime().toString("yyyy-MM-dd hh:mm"), names,
                                Outcome(game, partnership));
        if (game.Undos > 0)
            text += game.Undos == 1 ? QStringLiteral(", 1 play taken back")
                                    : QStringLiteral(", %1 plays taken back").arg(game.Undos);
        if (!game.Rules.isEmpty())
            text += " (" + RulesWords(game.Rules) + ')';
        if (game.Id == FCurrent)
            text = "Current game: " + text;
        texts.push_back(text);
    }
    const QSignalBlocker hold(FGame);
    FGame->clear();
    FGame->addItems(texts);
    int select = 0;
    for (size_t i = 0; i < games.size(); ++i) {
        FGame->setItemData(static_cast<int>(i), games[i].Id);
        if (games[i].Id == (shown ? shown : FCurrent))
            select = static_cast<int>(i);
    }
    FGame->setCurrentIndex(games.empty() ? -1 : select);
    ShowGame();
}

qint64 TdlgStatistics::ShownGame() const
{
    return FGame->currentIndex() < 0 ? 0 : FGame->currentData().toLongLong();
}

void TdlgStatistics::ShowGame()
{
    FChart->removeAllSeries();
    for (QAbstractAxis* axis : FChart->axes()) {
        FChart->removeAxis(axis);
        delete axis;  // a removed axis is the caller's
    }
    const qint64 game = ShownGame();
    std::vector<TSeatInts> series;
    std::optional<TGameRecord> record;
    try {
        if (game != 0) {
            series = ScoreSeries(FDb, game);
            record = LoadGame(FDb, game);
        }
    } catch (const EHistoryError&) {
        series.clear();
    }
    const int hands = static_cast<int>(series.size());
    FHand->setRange(hands ? 1 : 0, hands);
    FHand->setValue(hands);
    FReplay->setEnabled(hands > 0);
    FReview->setEnabled(hands > 0);
    FNoHands->setVisible(hands == 0);
    FChart->setTitle(game ? QStringLiteral("Scores of game %1, hand by hand").arg(game) : QString());
    if (hands == 0 || !record)
        return;

    auto* x = new QValueAxis;
    x->setTitleText("Hand");
    x->setLabelFormat("%d");
    x->setRange(0, hands);
    x->setTickCount(std::min(hands, 12) + 1);
    auto* y = new QValueAxis;
    y->setTitleText("Score");
    y->setLabelFormat("%d");
    int low = 0, high = record->WinScore;
    for (const TSeatInts& scores : series)
        for (int seat = 1; seat <= 4; ++seat) {
            low = std::min(low, scores[static_cast<size_t>(seat)]);
            high = std::max(high, scores[static_cast<size_t>(seat)]);
        }
    y->setRange(low, high);
    y->applyNiceNumbers();
    FChart->addAxis(x, Qt::AlignBottom);
    FChart->addAxis(y, Qt::AlignLeft);
    for (int seat = 1; seat <= 4; ++seat) {
        auto* line = new QLineSeries;
        line->setName(record->Seats[static_cast<size_t>(seat)].Name);
        line->setColor(SeatColours[static_cast<size_t>(seat)]);
        line->append(0, 0);
        for (int hand = 0; hand < hands; ++hand)
            line->append(hand + 1, series[static_cast<size_t>(hand)][static_cast<size_t>(seat)]);
        FChart->addSeries(line);
        line->attachAxis(x);
        line->attachAxis(y);
    }
}

void TdlgStatistics::ResetClick()
{
    if (!FAsk("Forget every recorded game and start the statistics afresh?\r"
              "The game in play is kept. This cannot be undone."))
        return;
    FResetStore();
    Reload();
}

void TdlgStatistics::ReplayClick()
{
    if (ShownGame() == 0 || FHand->value() < 1)
        return;
    FReplayGame = ShownGame();
    FReplayHand = FHand->value();
    done(ReplayResult);
}

void TdlgStatistics::ReviewClick()
{
    const qint64 game = ShownGame();
    const int number = FHand->value();
    if (game == 0 || number < 1)
        return;
    std::array<QString, 5> names;
    const std::optional<TReviewHand> hand = LoadReviewHand(FDb, game, number, names);
    if (!hand) {
        FNoHands->setText(QStringLiteral("Hand %1 of game %2 cannot be read from the game history.").arg(number).arg(game));
        FNoHands->show();
        return;
    }
    TdlgHandReview review(*hand, names, this);
    review.exec();
}

}  // namespace spades
