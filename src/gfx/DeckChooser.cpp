#include "DeckChooser.h"

#include <QLocale>
#include <QSignalBlocker>

namespace spades {

TDeckChooser::TDeckChooser(QWidget* parent, const TDeckRoots& roots) : QComboBox(parent)
{
    setObjectName(QStringLiteral("cbxDeck"));
    setEditable(false);
    addItem(QStringLiteral("Built-in"), QString());
    for (const TDeckInfo& deck : FindInstalledDecks(roots, QLocale().name()))
        addItem(deck.Name, deck.Id);
    connect(this, &QComboBox::activated, this, [this](int) {
        if (OnChange)
            OnChange(Chosen());
    });
}

void TDeckChooser::Select(const QString& id)
{
    const QSignalBlocker quiet(this);
    int index = findData(id);
    if (index < 0) {
        addItem(id + QStringLiteral(" (not installed)"), id);
        index = count() - 1;
    }
    setCurrentIndex(index);
}

QString TDeckChooser::Chosen() const
{
    return currentData().toString();
}

}  // namespace spades
