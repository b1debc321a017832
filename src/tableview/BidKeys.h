// Typing a bid: a digit chooses that number ("1" then "0" to "3" within a moment
// makes 10 to 13), N or 0 chooses Nil; Enter stays the dialog's OK.
#pragma once

#include <QElapsedTimer>
#include <QObject>

class QSpinBox;

namespace spades {

class TBidKeys : public QObject {
    Q_OBJECT
public:
    // How long a "1" waits for a second digit.
    static constexpr int PairMs = 1500;

    explicit TBidKeys(QSpinBox& edit);

    // The bid after a key, from the bid before it; -1 for a key that chooses nothing.
    static int Choose(int key, bool afterOne);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSpinBox& FEdit;
    QElapsedTimer FSinceOne;
    bool FOne = false;
};

}  // namespace spades
