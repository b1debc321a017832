// Keeps the hand cycle safe to re-enter. Pauses, the event dispatch between
// tricks and modal dialogs all run nested event loops; a New Game or close
// request that arrives inside one is remembered, the running steps stop at their
// next resume point, and the request is carried out once every step has returned
// to the top-level loop. Preferences open at once, wherever the game stands, and
// hold the game still until they close.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

namespace spades {

enum class TTableRequest { NewGame, Preferences, Close, Undo, DealAgain };

class TTableSteps : public QObject {
    Q_OBJECT
public:
    explicit TTableSteps(QObject* parent = nullptr) : QObject(parent) {}

    // Marks a game step on the stack for as long as it lives.
    class TScope {
    public:
        explicit TScope(TTableSteps& steps);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;
        // True once the hand this step began in has been given up.
        bool Superseded() const { return FSteps.FSerial != FSerial; }
        unsigned Serial() const { return FSerial; }

    private:
        TTableSteps& FSteps;
        unsigned FSerial;
    };

    bool Busy() const { return FDepth > 0; }
    // The current hand; every new game (and a close) moves it on.
    unsigned Serial() const { return FSerial; }
    void Supersede() { ++FSerial; }

    // A request from the user. At the top level it is carried out at once;
    // inside a step or a hold it waits, and New Game or Close stop the running
    // steps. Preferences are carried out at once, as a hold; asked for again
    // while they are open, they are not opened twice.
    void Request(TTableRequest request);
    bool Pending(TTableRequest request) const;

    // While held, no step of the game may run: the window parks them.
    bool Held() const { return FHeld; }
    // Moves on with every hold; a pause that saw it move has not been a whole pause.
    unsigned Holds() const { return FHolds; }
    // Runs when a hold ends, before anything else.
    std::function<void()> Released;

    // What carries a request out; set by the window.
    std::function<void(TTableRequest)> Perform;

signals:
    // The last running step has returned.
    void idle();

private:
    void Leave();
    void RunPending();
    void SchedulePending();
    void Hold(TTableRequest request);

    int FDepth = 0;
    unsigned FSerial = 0;
    bool FScheduled = false;
    bool FHeld = false;
    unsigned FHolds = 0;
    std::vector<TTableRequest> FPending;
};

}  // namespace spades
