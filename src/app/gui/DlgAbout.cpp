// The About box.
#include "DlgAbout.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/CVorlixApp.h"

namespace gui {

DlgAbout::DlgAbout(QWidget *parent) : QDialog(parent) {
    setWindowTitle("About Vorlix");
    auto *layout = new QVBoxLayout(this);
    auto *title = new QLabel(QString::fromStdString(app::CVorlixApp::TitleText()), this);
    QFont bold = title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title->setFont(bold);
    layout->addWidget(title);
    auto *text = new QLabel(
        "Exports Lotus Notes databases to the file system: a CSV summary, per-document Text, HTML and "
        "Rich Text files, extracted attachments, copies into another database and moves into folders.\n\n"
        "Built with Qt " QT_VERSION_STR ".",
        this);
    text->setWordWrap(true);
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

}  // namespace gui
