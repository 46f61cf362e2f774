// The About box: program name, version and what the program does.
#pragma once

#include <QDialog>

namespace gui {

class DlgAbout : public QDialog {
    Q_OBJECT

public:
    explicit DlgAbout(QWidget *parent = nullptr);
};

}  // namespace gui
