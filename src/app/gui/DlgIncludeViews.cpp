// The include and exclude lists of views and folders.
#include "DlgIncludeViews.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "config/ExportSettings.h"

namespace gui {

namespace {

constexpr const char *kExcludeAllHidden = "%Exclude all hidden view/folders%";

bool ListHas(const QListWidget *list, const QString &text) {
    return !list->findItems(text, Qt::MatchExactly).isEmpty();
}

}  // namespace

DlgIncludeViews::DlgIncludeViews(Mode mode, const std::vector<std::string> &databaseViews,
                                 const std::vector<std::string> &chosen, QWidget *parent)
    : QDialog(parent),
      m_available(new QListWidget(this)),
      m_chosen(new QListWidget(this)),
      m_match(new QLineEdit(this)) {
    const bool include = mode == Mode::Include;
    setWindowTitle(include ? "Include Views & Folders" : "Exclude Views & Folders");
    m_available->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_chosen->setSelectionMode(QAbstractItemView::ExtendedSelection);

    for (const std::string &name : chosen) {
        m_chosen->addItem(QString::fromStdString(name));
    }
    const QString special = include ? config::kAllNonExcludedViews : kExcludeAllHidden;
    if (!ListHas(m_chosen, special)) {
        m_available->addItem(special);
    }
    for (const std::string &name : databaseViews) {
        const QString text = QString::fromStdString(name);
        if (!ListHas(m_chosen, text)) {
            m_available->addItem(text);
        }
    }

    auto *outer = new QVBoxLayout(this);
    auto *group = new QGroupBox(include ? "Included Views && Folders (overrides all exclude unless stated)"
                                        : "Excluded Views && Folders (overriden by includes)",
                                this);
    outer->addWidget(group, 1);
    auto *grid = new QGridLayout(group);
    grid->addWidget(new QLabel("View & folders available", this), 0, 0);
    grid->addWidget(new QLabel("View & folders included", this), 0, 2);
    grid->addWidget(m_available, 1, 0);
    auto *buttons = new QVBoxLayout;
    auto addButton = [&](const char *caption, void (DlgIncludeViews::*slot)()) {
        auto *button = new QPushButton(caption, this);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
        return button;
    };
    buttons->addStretch();
    addButton("Add >", &DlgIncludeViews::AddSelected);
    addButton("< Remove", &DlgIncludeViews::RemoveSelected);
    buttons->addSpacing(12);
    addButton("Add All >>", &DlgIncludeViews::AddAll);
    addButton("<< Rem. All", &DlgIncludeViews::RemoveAll);
    buttons->addStretch();
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(m_chosen, 1, 2);
    auto *matchRow = new QHBoxLayout;
    matchRow->addWidget(new QLabel("Partial matches (* for wildcard)", this));
    matchRow->addWidget(m_match, 1);
    auto *match = new QPushButton("Match >", this);
    connect(match, &QPushButton::clicked, this, &DlgIncludeViews::AddMatch);
    matchRow->addWidget(match);
    grid->addLayout(matchRow, 2, 0, 1, 3);
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    outer->addWidget(box);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    resize(640, 400);

    connect(m_available, &QListWidget::itemDoubleClicked, this, &DlgIncludeViews::AddSelected);
    connect(m_chosen, &QListWidget::itemDoubleClicked, this, &DlgIncludeViews::RemoveSelected);
}

std::vector<std::string> DlgIncludeViews::Chosen() const {
    std::vector<std::string> names;
    for (int i = 0; i < m_chosen->count(); ++i) {
        names.push_back(m_chosen->item(i)->text().toStdString());
    }
    return names;
}

void DlgIncludeViews::MoveItems(QListWidget *from, QListWidget *to, bool all) {
    for (int i = 0; i < from->count();) {
        if (!all && !from->item(i)->isSelected()) {
            ++i;
            continue;
        }
        QListWidgetItem *item = from->takeItem(i);
        item->setSelected(false);
        to->addItem(item);
    }
}

void DlgIncludeViews::AddSelected() {
    MoveItems(m_available, m_chosen, false);
}

void DlgIncludeViews::RemoveSelected() {
    MoveItems(m_chosen, m_available, false);
}

void DlgIncludeViews::AddAll() {
    MoveItems(m_available, m_chosen, true);
}

void DlgIncludeViews::RemoveAll() {
    MoveItems(m_chosen, m_available, true);
}

void DlgIncludeViews::AddMatch() {
    const QString text = m_match->text();
    if (text.isEmpty() || ListHas(m_chosen, text)) {
        return;
    }
    m_chosen->addItem(text);
}

}  // namespace gui
