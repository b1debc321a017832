#include "DeckChooser.h"

#include "SvgCardDeck.h"

#include <QLocale>
#include <QPromise>
#include <QSignalBlocker>
#include <QThreadPool>

#include <algorithm>


namespace spades {

namespace {

constexpr const char* Unusable = " (cannot be shown)";
constexpr const char* Gone = " (not installed)";

}  // namespace

TDeckChooser::TDeckChooser(QWidget* parent, const TDeckRoots& roots) : QComboBox(parent)
{
    setObjectName(QStringLiteral("cbxDeck"));
    setEditable(false);
    addItem(QStringLiteral("Built-in"), QString());
    std::vector<TDeckInfo> decks = FindInstalledDecks(roots, QLocale().name());
    for (const TDeckInfo& deck : decks)
        addItem(deck.Name, deck.Id);
    connect(this, &QComboBox::activated, this, [this](int) {
        if (OnChange)
            OnChange(Chosen());
    });
    // Reading every deck takes a second or two: a worker does it, and the
    // promise outlives this list if the page is closed first.
    auto promise = std::make_shared<QPromise<std::vector<TDeckInfo>>>();
    connect(&FChecked, &QFutureWatcherBase::finished, this, [this] {
        if (FChecked.future().resultCount() > 0)
            DropUnreadable(FChecked.future().result());
    });
    FChecked.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, decks = std::move(decks)]() mutable {
        promise->addResult(ReadableDecks(std::move(decks)));
        promise->finish();
    });
}

TDeckChooser::~TDeckChooser() = default;

void TDeckChooser::DropUnreadable(const std::vector<TDeckInfo>& readable)
{
    const QSignalBlocker quiet(this);
    for (int index = count() - 1; index > 0; --index) {
        const QString id = itemData(index).toString();
        const bool kept = std::any_of(readable.begin(), readable.end(),
                                      [&](const TDeckInfo& deck) { return deck.Id == id; });
        if (kept || itemText(index).endsWith(QLatin1StringView(Gone)))
            continue;
        FDropped.push_back({id, itemText(index), {}, {}});
        // The choice in force stays, marked, so that OK does not drop it unseen.
        if (index == currentIndex())
            setItemText(index, itemText(index) + QLatin1StringView(Unusable));
        else
            removeItem(index);
    }
}

void TDeckChooser::Select(const QString& id)
{
    const QSignalBlocker quiet(this);
    int index = findData(id);
    if (index < 0) {
        const auto dropped = std::find_if(FDropped.begin(), FDropped.end(),
                                          [&](const TDeckInfo& deck) { return deck.Id == id; });
        addItem(dropped != FDropped.end() ? dropped->Name + QLatin1StringView(Unusable)
                                          : id + QLatin1StringView(Gone),
                id);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

QString TDeckChooser::Chosen() const
{
    return currentData().toString();
}

}  // namespace spades
