// Name, version and what the program is.
#pragma once

#include <QDialog>

namespace spades {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner = nullptr);
};

}  // namespace spades
