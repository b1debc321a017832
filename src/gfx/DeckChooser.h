// The list of card decks on the preferences' Appearance page: "Built-in" first,
// then every deck installed on the desktop.
#pragma once

#include "InstalledDecks.h"

#include <QComboBox>

#include <functional>
#include <vector>

namespace spades {

class TDeckChooser : public QComboBox {
public:
    explicit TDeckChooser(QWidget* parent = nullptr, const TDeckRoots& roots = DefaultDeckRoots());

    // The deck kept under `id`, or "Built-in" for an empty id. A deck that is no
    // longer installed is still listed, so that the choice is not lost unseen.
    void Select(const QString& id);
    // The chosen deck's id; empty for "Built-in".
    QString Chosen() const;

    // Called when the player picks another entry (not when Select sets one).
    std::function<void(const QString& id)> OnChange;
};

}  // namespace spades
