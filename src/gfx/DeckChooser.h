// The list of card decks on the preferences' Appearance page: "Built-in" first,
// then every deck installed on the desktop that the table can show.
#pragma once

#include "InstalledDecks.h"

#include <QComboBox>
#include <QFutureWatcher>

#include <functional>
#include <vector>

namespace spades {

class TDeckChooser : public QComboBox {
public:
    // Every installed deck is listed at once; each file is then read off the UI
    // thread, and decks that cannot be shown (damaged, or with their corner
    // index where a fan hides it) leave the list when that is done.
    explicit TDeckChooser(QWidget* parent = nullptr, const TDeckRoots& roots = DefaultDeckRoots());
    ~TDeckChooser() override;

    // The deck kept under `id`, or "Built-in" for an empty id. A deck that is no
    // longer installed, or cannot be shown, is still listed, so that the choice
    // is not lost unseen.
    void Select(const QString& id);
    // The chosen deck's id; empty for "Built-in".
    QString Chosen() const;
    // Whether every deck's file has been read and the list thinned out.
    bool Checked() const { return FChecked.isFinished(); }

    // Called when the player picks another entry (not when Select sets one).
    std::function<void(const QString& id)> OnChange;

private:
    void DropUnreadable(const std::vector<TDeckInfo>& readable);

    std::vector<TDeckInfo> FDropped;
    QFutureWatcher<std::vector<TDeckInfo>> FChecked;
};

}  // namespace spades
