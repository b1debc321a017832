#include "NetDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkInterface>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "Defaults.h"
#include "HostHistory.h"
#include "JoinedTable.h"
#include "PlayerNames.h"
#include "SeatSecretFile.h"
#include "TablePrompts.h"
#include "WinReg.h"

#include <algorithm>
#include <limits>

namespace spades::net {

namespace {
// The last table joined, offered again; a settings file that cannot be used leaves the defaults.
const QString JoinSection = QStringLiteral("Join");

const std::array<QString, 4> SeatNames = {"North", "East", "South", "West"};

QString StateText(const TSeatRoster::TSeat& seat)
{
    switch (seat.State) {
    case TSeatState::Open:
        return QStringLiteral("open (the computer plays until someone joins)");
    case TSeatState::Remote:
        return QStringLiteral("taken by ") + QString::fromStdString(seat.Player);
    case TSeatState::Computer:
        return seat.Kind == TSeatKind::Expert ? QStringLiteral("Expert") : QStringLiteral("Computer");
    case TSeatState::Person:
        return QStringLiteral("a person here");
    case TSeatState::Dropped:
        return QString::fromStdString(seat.Player) + QStringLiteral(" left; played by the computer");
    }
    return {};
}

QString Addresses()
{
    QStringList list;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (!a.isLoopback() && a.protocol() == QAbstractSocket::IPv4Protocol)
            list << a.toString();
    return list.isEmpty() ? QStringLiteral("127.0.0.1") : list.join(QStringLiteral(", "));
}
}  // namespace

QPoint AsidePosition(const QRect& window, QSize dialog, const QRect& screen)
{
    const auto inside = [&](QPoint at) {
        const int x = std::clamp(at.x(), screen.left(), std::max(screen.left(), screen.right() + 1 - dialog.width()));
        const int y = std::clamp(at.y(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - dialog.height()));
        return QPoint(x, y);
    };
    const std::array<QPoint, 8> candidates = {
        QPoint(window.right() + 1, window.top()),             // beside, right
        QPoint(window.left() - dialog.width(), window.top()), // beside, left
        QPoint(window.left(), window.bottom() + 1),           // below
        QPoint(window.left(), window.top() - dialog.height()),
        screen.topRight() - QPoint(dialog.width() - 1, 0),    // the screen's corners
        screen.topLeft(),
        screen.bottomRight() - QPoint(dialog.width() - 1, dialog.height() - 1),
        screen.bottomLeft() - QPoint(0, dialog.height() - 1)};
    // Least of the window covered; its lower half, where the player's hand
    // lies, counts twice, and its middle, where the trick lies, most of all.
    const QRect lowerHalf(window.left(), window.center().y(), window.width(), window.bottom() - window.center().y() + 1);
    const auto area = [](const QRect& r) { return qint64(r.width()) * r.height(); };
    QPoint best;
    qint64 bestCost = std::numeric_limits<qint64>::max();
    for (const QPoint& candidate : candidates) {
        const QRect placed(inside(candidate), dialog);
        qint64 cost = area(placed.intersected(window)) + area(placed.intersected(lowerHalf));
        if (placed.contains(window.center()))
            cost += qint64(window.width()) * window.height();
        if (cost < bestCost) {
            bestCost = cost;
            best = placed.topLeft();
        }
    }
    return best;
}

THostTableDialog::THostTableDialog(TNetTableHost* window, QWidget* parent) : QDialog(parent), FWindow(window)
{
    setWindowTitle(QStringLiteral("Host a Table"));
    setObjectName(QStringLiteral("dlgHost"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(SeatNames[static_cast<size_t>(i)]), i, 0);
        auto* kind = new QComboBox;
        kind->setObjectName(QStringLiteral("cbxSeat%1").arg(i + 1));
        kind->addItems({QStringLiteral("Open to others"), QStringLiteral("Computer"), QStringLiteral("Expert"),
                        QStringLiteral("You, here")});
        kind->setCurrentIndex(i == 2 ? 3 : i == 0 ? 0 : 1);
        grid->addWidget(kind, i, 1);
        FKinds[static_cast<size_t>(i)] = kind;
        auto* state = new QLabel;
        state->setObjectName(QStringLiteral("lblSeat%1").arg(i + 1));
        grid->addWidget(state, i, 2);
        FStates[static_cast<size_t>(i)] = state;
        auto* remove = new QPushButton(QStringLiteral("Remove"));
        remove->setObjectName(QStringLiteral("btnRemove%1").arg(i + 1));
        remove->setToolTip(QStringLiteral("Send this player away; the computer plays the seat"));
        remove->setEnabled(false);
        connect(remove, &QPushButton::clicked, this, [this, seat = i + 1] {
            if (FHost)
                FHost->RemovePlayer(seat);
        });
        grid->addWidget(remove, i, 3);
        FRemove[static_cast<size_t>(i)] = remove;
    }
    auto* form = new QFormLayout;
    FPort = new QSpinBox;
    FPort->setObjectName(QStringLiteral("spnPort"));
    FPort->setRange(0, 65535);
    FPort->setValue(0);
    FPort->setSpecialValueText(QStringLiteral("any free port"));
    form->addRow(QStringLiteral("Port:"), FPort);
    FBind = new QLineEdit;
    FBind->setObjectName(QStringLiteral("edtBind"));
    FBind->setPlaceholderText(QStringLiteral("every address of this machine"));
    form->addRow(QStringLiteral("Listen on:"), FBind);
    FTimeout = new QSpinBox;
    FTimeout->setObjectName(QStringLiteral("spnTimeout"));
    FTimeout->setRange(5, 600);
    FTimeout->setValue(60);
    FTimeout->setSuffix(QStringLiteral(" s"));
    form->addRow(QStringLiteral("Time for a turn:"), FTimeout);
    FOwnName = new QLineEdit(QStringLiteral("Host"));
    FOwnName->setObjectName(QStringLiteral("edtOwnName"));
    FOwnName->setMaxLength(32);
    form->addRow(QStringLiteral("Your name:"), FOwnName);
    FWhere = new QLabel;
    FWhere->setObjectName(QStringLiteral("lblWhere"));
    FWhere->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Address and port:"), FWhere);
    FCode = new QLabel;
    FCode->setObjectName(QStringLiteral("lblCode"));
    FCode->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QStringLiteral("Join code:"), FCode);
    FReport = new QPlainTextEdit;
    FReport->setReadOnly(true);
    FReport->setMaximumBlockCount(200);
    FStart = new QPushButton(QStringLiteral("&Host"));
    FStart->setObjectName(QStringLiteral("btnHost"));
    connect(FStart, &QPushButton::clicked, this, &THostTableDialog::StartHosting);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(form);
    layout->addWidget(FStart);
    layout->addWidget(FReport);
    layout->addWidget(close);
}

THostTableDialog::~THostTableDialog()
{
    // The record first: it closes an unfinished game while the host is still there.
    FHistory.reset();
}

bool THostTableDialog::StartHosting()
{
    if (FHost)
        return true;
    TNetHostOptions options;
    options.Port = static_cast<quint16>(FPort->value());
    options.TurnTimeoutMs = FTimeout->value() * 1000;
    options.Rules = FRules;
    if (const QString bind = FBind->text().trimmed(); !bind.isEmpty() && !options.Address.setAddress(bind)) {
        FReport->appendPlainText(QStringLiteral("Listen on an address such as 192.168.1.20, or leave it empty."));
        return false;
    }
    options.StartWaitMs = -1;
    if (FWindow)
        options.PauseSource = [window = FWindow] { return window->PlayPause(); };
    int ownSeat = 0;
    for (size_t i = 0; i < 4; ++i) {
        const int index = FKinds[i]->currentIndex();
        // The seat played here is taken through the network too, from this machine.
        options.Kinds[i] = index == 1 ? TSeatKind::Computer : index == 2 ? TSeatKind::Expert : TSeatKind::Remote;
        if (index == 3 && ownSeat == 0)
            ownSeat = static_cast<int>(i) + 1;
    }
    const std::string ownName = FOwnName->text().trimmed().toStdString();
    if (ownSeat != 0 && (!NormalName(ownName) || LooksLikeSeatName(ownName))) {
        FReport->appendPlainText(QStringLiteral("Give your name (up to 32 characters, not a seat's name)."));
        return false;
    }
    FHost = std::make_unique<TNetHost>(options);
    QString error;
    if (!FHost->Listen(&error)) {
        FReport->appendPlainText(QStringLiteral("Cannot open the port: ") + error);
        FHost.reset();
        return false;
    }
    if (THistoryStore* store = FWindow ? FWindow->GameHistory() : nullptr) {
        FHistory = std::make_unique<THostHistory>(*FHost, *store);
        connect(FHistory.get(), &THostHistory::Failed, FReport, &QPlainTextEdit::appendPlainText);
    }
    connect(FHost.get(), &TNetHost::SeatsChanged, this, &THostTableDialog::ShowSeats);
    connect(FHost.get(), &TNetHost::Reported, FReport, &QPlainTextEdit::appendPlainText);
    connect(FHost.get(), &TNetHost::Finished, this,
            [this] { FReport->appendPlainText(QStringLiteral("The game is over.")); });
    const QString where = options.Address == QHostAddress::Any ? Addresses() : options.Address.toString();
    FWhere->setText(where + QStringLiteral("  port ") + QString::number(FHost->Port()));
    FCode->setText(QString::fromStdString(FHost->Code()));
    for (QComboBox* kind : FKinds)
        kind->setEnabled(false);
    FPort->setEnabled(false);
    FBind->setEnabled(false);
    FTimeout->setEnabled(false);
    FStart->setEnabled(false);
    FOwnName->setEnabled(false);
    FHost->Start();
    FOwnSeat = ownSeat;
    if (ownSeat != 0) {
        TNetClientOptions own;
        own.Host = options.Address == QHostAddress::Any ? QStringLiteral("127.0.0.1") : options.Address.toString();
        own.Port = FHost->Port();
        own.Code = FHost->Code();
        own.Name = ownName;
        own.WantSeat = static_cast<uint8_t>(ownSeat);
        if (FWindow) {
            FOwnTable = new TJoinedTable(own, &FWindow->Prompts());
            FOwnTable->SetPauseSource([window = FWindow] { return window->PlayPause(); });
            FWindow->ShowJoinedTable(FOwnTable);
        } else {
            FOwnTable = new TJoinedTable(own, nullptr, this);
            FOwnTable->setWindowFlag(Qt::Window);
            FOwnTable->show();
        }
    }
    ShowSeats();
    if (QWidget* window = parentWidget(); window && window->screen()) {
        // The dialog stays up while the table is played: out of the table's way,
        // at the size its new lines give it.
        adjustSize();
        move(AsidePosition(window->frameGeometry(), frameGeometry().size(), window->screen()->availableGeometry()));
    }
    return true;
}

QString THostTableDialog::SeatText(int seat) const
{
    return FStates[static_cast<size_t>(seat - 1)]->text();
}

void THostTableDialog::ShowSeats()
{
    if (!FHost)
        return;
    for (int seat = 1; seat <= 4; ++seat) {
        const TSeatRoster::TSeat& s = FHost->Roster().At(seat);
        FStates[static_cast<size_t>(seat - 1)]->setText(StateText(s));
        // Only a player from elsewhere can be sent away; the seat played here is the host's own.
        FRemove[static_cast<size_t>(seat - 1)]->setEnabled(s.Kind == TSeatKind::Remote && !s.Player.empty() &&
                                                            seat != FOwnSeat);
    }
}

TJoinTableDialog::TJoinTableDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Join a Table"));
    setObjectName(QStringLiteral("dlgJoin"));
    auto* form = new QFormLayout;
    FAddress = new QLineEdit(QStringLiteral("127.0.0.1"));
    FAddress->setObjectName(QStringLiteral("edtAddress"));
    form->addRow(QStringLiteral("&Address:"), FAddress);
    FPortBox = new QSpinBox;
    FPortBox->setObjectName(QStringLiteral("spnPort"));
    FPortBox->setRange(1, 65535);
    FPortBox->setValue(7455);
    form->addRow(QStringLiteral("&Port:"), FPortBox);
    FCodeEdit = new QLineEdit;
    FCodeEdit->setObjectName(QStringLiteral("edtCode"));
    form->addRow(QStringLiteral("Join &code:"), FCodeEdit);
    FName = new QLineEdit;
    FName->setObjectName(QStringLiteral("edtName"));
    FName->setMaxLength(32);
    form->addRow(QStringLiteral("Your &name:"), FName);
    FProblem = new QLabel;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        QString why;
        if (Options(&why))
            accept();
        else
            FProblem->setText(why);
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(FProblem);
    layout->addWidget(buttons);
    try {
        const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
        FAddress->setText(registry.ReadString(JoinSection, QStringLiteral("Address"), FAddress->text()));
        FPortBox->setValue(registry.ReadInteger(JoinSection, QStringLiteral("Port"), FPortBox->value()));
        FName->setText(registry.ReadString(JoinSection, QStringLiteral("Name"), FName->text()));
    } catch (const std::exception&) {
    }
    connect(this, &QDialog::accepted, this, [this] {
        try {
            TWinRegistry registry{QLatin1StringView(SpadesKeyPath), TWinRegistry::TCommitMode::OnCommit};
            registry.WriteString(JoinSection, QStringLiteral("Address"), FAddress->text().trimmed());
            registry.WriteInteger(JoinSection, QStringLiteral("Port"), FPortBox->value());
            registry.WriteString(JoinSection, QStringLiteral("Name"), FName->text().trimmed());
            registry.Commit();
        } catch (const std::exception&) {
            // Only a convenience: the table is joined all the same.
        }
    });
}

std::optional<TNetClientOptions> TJoinTableDialog::Options(QString* why) const
{
    const auto fail = [&](const char* text) -> std::optional<TNetClientOptions> {
        if (why)
            *why = QString::fromUtf8(text);
        return std::nullopt;
    };
    TNetClientOptions o;
    o.Host = FAddress->text().trimmed();
    o.Port = static_cast<quint16>(FPortBox->value());
    o.Code = FCodeEdit->text().trimmed().toStdString();
    o.Name = FName->text().trimmed().toStdString();
    if (o.Host.isEmpty())
        return fail("Give the host's address.");
    if (!ValidCode(o.Code))
        return fail("The join code is 8 to 32 letters and digits.");
    std::string problem;
    const auto name = NormalName(o.Name, &problem);
    if (!name)
        return fail("Give your name (up to 32 characters, no invisible characters).");
    if (LooksLikeSeatName(*name))
        return fail("Your name may not look like a seat's name.");
    o.Name = *name;
    o.SeatFolder = DefaultSeatFolder();
    return o;
}

void TJoinTableDialog::ShowProblem(const QString& text)
{
    FProblem->setText(text);
}

void SitAtTable(TNetTableHost& window, const TNetClientOptions& options)
{
    auto* table = new TJoinedTable(options, &window.Prompts());
    table->SetPauseSource([&window] { return window.PlayPause(); });
    window.ShowJoinedTable(table);
}

void AddNetworkItems(QMenu* network, TNetTableHost& window)
{
    network->menuAction()->setVisible(true);
    QWidget* owner = window.NetWindow();
    QAction* host = network->addAction(QStringLiteral("&Host a Table..."));
    host->setObjectName(QStringLiteral("mniNetHost"));
    QObject::connect(host, &QAction::triggered, owner, [&window, owner] {
        auto* dialog = new THostTableDialog(&window, owner);
        dialog->SetRules(window.NextRules());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        dialog->activateWindow();  // the seats are chosen next
    });
    QAction* join = network->addAction(QStringLiteral("&Join a Table..."));
    join->setObjectName(QStringLiteral("mniNetJoin"));
    QObject::connect(join, &QAction::triggered, owner, [&window, owner] {
        TJoinTableDialog dialog(owner);
        if (window.Prompts().RunDialog(dialog) != QDialog::Accepted)
            return;
        if (auto options = dialog.Options())
            SitAtTable(window, *options);
    });
    QAction* leave = network->addAction(QStringLiteral("&Leave the Table"));
    leave->setObjectName(QStringLiteral("mniNetLeave"));
    QObject::connect(leave, &QAction::triggered, owner, [&window] { window.LeaveJoinedTable(); });
    leave->setEnabled(false);
    QObject::connect(network, &QMenu::aboutToShow, owner, [&window, leave] { leave->setEnabled(window.JoinedTable()); });
}

}  // namespace spades::net
