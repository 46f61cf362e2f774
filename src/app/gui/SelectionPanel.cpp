// The document selection part of the main dialog.
#include "SelectionPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace gui {

namespace {

constexpr int kAllDocsButton = 5;  // the "All Docs" radio: method 3 with QueryAllDocs
constexpr const char *kAllDocsQuery = "SELECT @ALL";

QString Q(const std::string &text) {
    return QString::fromStdString(text);
}

void FillList(QListWidget *list, const std::vector<std::string> &names) {
    list->clear();
    for (const std::string &name : names) {
        list->addItem(Q(name));
    }
}

// A list with its label above and its ">>>" button beside the label.
QWidget *ListWithButton(const char *caption, QListWidget *list, QPushButton *button, QWidget *parent) {
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(caption, box), 1);
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(">>>") + 24);
    row->addWidget(button);
    layout->addLayout(row);
    layout->addWidget(list, 1);
    return box;
}

}  // namespace

SelectionPanel::SelectionPanel(config::ExportSettings &working, QWidget *parent)
    : QGroupBox("Selection Method", parent),
      m_working(working),
      m_viewRadio(new QRadioButton("View/Fld", this)),
      m_viewsRadio(new QRadioButton("Views/Flds", this)),
      m_queryRadio(new QRadioButton("Query", this)),
      m_allDocsRadio(new QRadioButton("All Docs", this)),
      m_ftRadio(new QRadioButton("FT Search", this)),
      m_pages(new QStackedWidget(this)),
      m_viewList(new QListWidget(this)),
      m_showHiddenViews(new QCheckBox("Show Hi&dden", this)),
      m_includeList(new QListWidget(this)),
      m_excludeList(new QListWidget(this)),
      m_includeButton(new QPushButton(">>>", this)),
      m_excludeButton(new QPushButton(">>>", this)),
      m_queryEdit(new QPlainTextEdit(this)),
      m_ftEdit(new QLineEdit(this)) {
    auto *layout = new QVBoxLayout(this);
    auto *radios = new QHBoxLayout;
    auto *group = new QButtonGroup(this);
    group->addButton(m_viewRadio, config::kSelectView);
    group->addButton(m_viewsRadio, config::kSelectViews);
    group->addButton(m_queryRadio, config::kSelectQuery);
    group->addButton(m_allDocsRadio, kAllDocsButton);
    group->addButton(m_ftRadio, config::kSelectFtSearch);
    for (QRadioButton *radio : {m_viewRadio, m_viewsRadio, m_queryRadio, m_allDocsRadio}) {
        radios->addWidget(radio);
    }
    radios->addStretch();
    m_ftRadio->hide();
    layout->addLayout(radios);
    layout->addWidget(m_pages, 1);

    auto *viewPage = new QWidget(this);
    auto *viewLayout = new QVBoxLayout(viewPage);
    viewLayout->setContentsMargins(0, 0, 0, 0);
    auto *viewHead = new QHBoxLayout;
    viewHead->addWidget(new QLabel("Select a View or Folder", viewPage), 1);
    viewHead->addWidget(m_showHiddenViews);
    viewLayout->addLayout(viewHead);
    viewLayout->addWidget(m_viewList, 1);
    m_pages->addWidget(viewPage);

    auto *listsPage = new QWidget(this);
    auto *listsLayout = new QVBoxLayout(listsPage);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    listsLayout->addWidget(
        ListWithButton("Include view folder(s)", m_includeList, m_includeButton, listsPage));
    listsLayout->addWidget(
        ListWithButton("Exclude view folder(s)", m_excludeList, m_excludeButton, listsPage));
    m_pages->addWidget(listsPage);

    auto *queryPage = new QWidget(this);
    auto *queryLayout = new QVBoxLayout(queryPage);
    queryLayout->setContentsMargins(0, 0, 0, 0);
    queryLayout->addWidget(new QLabel("Query Select Formula", queryPage));
    queryLayout->addWidget(m_queryEdit, 1);
    m_pages->addWidget(queryPage);

    auto *ftPage = new QWidget(this);
    auto *ftLayout = new QVBoxLayout(ftPage);
    ftLayout->setContentsMargins(0, 0, 0, 0);
    ftLayout->addWidget(new QLabel("FT Search", ftPage));
    ftLayout->addWidget(m_ftEdit);
    ftLayout->addStretch();
    m_pages->addWidget(ftPage);

    connect(group, &QButtonGroup::idClicked, this, &SelectionPanel::MethodClicked);
    connect(m_showHiddenViews, &QCheckBox::toggled, this, [this]() { FillViewList(ChosenView()); });
    connect(m_includeButton, &QPushButton::clicked, this, [this]() { emit listDialogRequested(true); });
    connect(m_excludeButton, &QPushButton::clicked, this, [this]() { emit listDialogRequested(false); });
    ShowMethod(config::kSelectView, false);
}

void SelectionPanel::MethodClicked(int method) {
    if (method == kAllDocsButton) {
        m_queryEdit->setPlainText(kAllDocsQuery);
        m_working.Query = kAllDocsQuery;
        m_working.QueryAllDocs = true;
        m_working.SelectMethod = config::kSelectQuery;
        ShowMethod(config::kSelectQuery, true);
        return;
    }
    if (method == config::kSelectQuery) {
        m_working.QueryAllDocs = false;
    }
    m_working.SelectMethod = method;
    ShowMethod(method, false);
}

void SelectionPanel::ShowMethod(int method, bool allDocs) {
    switch (method) {
        case config::kSelectViews:
            m_viewsRadio->setChecked(true);
            m_pages->setCurrentIndex(1);
            break;
        case config::kSelectQuery:
            (allDocs ? m_allDocsRadio : m_queryRadio)->setChecked(true);
            m_pages->setCurrentIndex(2);
            break;
        case config::kSelectFtSearch:
            m_ftRadio->setChecked(true);
            m_pages->setCurrentIndex(3);
            break;
        default:
            m_viewRadio->setChecked(true);
            m_pages->setCurrentIndex(0);
            break;
    }
    m_queryEdit->setReadOnly(method == config::kSelectQuery && allDocs);
}

void SelectionPanel::SetDatabaseViews(const std::vector<std::string> &names) {
    m_databaseViews = names;
    FillViewList("");
}

void SelectionPanel::FillViewList(const std::string &keep) {
    m_viewList->clear();
    const bool hidden = m_showHiddenViews->isChecked();
    for (const std::string &name : m_databaseViews) {
        if (hidden || name.empty() || name[0] != '(') {
            m_viewList->addItem(Q(name));
        }
    }
    if (keep.empty()) {
        return;
    }
    const QList<QListWidgetItem *> found = m_viewList->findItems(Q(keep), Qt::MatchExactly);
    if (!found.isEmpty()) {
        m_viewList->setCurrentItem(found.front());
    }
}

std::string SelectionPanel::ChosenView() const {
    const QListWidgetItem *item = m_viewList->currentItem();
    return item != nullptr && item->isSelected() ? item->text().toStdString() : std::string();
}

void SelectionPanel::SetIncludeNames(const std::vector<std::string> &names) {
    m_includeNames = names;
    FillList(m_includeList, names);
}

void SelectionPanel::SetExcludeNames(const std::vector<std::string> &names) {
    m_excludeNames = names;
    FillList(m_excludeList, names);
}

void SelectionPanel::Apply(const config::ExportSettings &settings) {
    if (settings.SelectMethod == config::kSelectView) {
        QList<QListWidgetItem *> found = m_viewList->findItems(Q(settings.ViewName), Qt::MatchExactly);
        if (found.isEmpty() && !settings.ViewName.empty()) {
            m_viewList->addItem(Q(settings.ViewName));
            found = m_viewList->findItems(Q(settings.ViewName), Qt::MatchExactly);
        }
        if (!found.isEmpty()) {
            m_viewList->setCurrentItem(found.front());
        }
    }
    if (settings.SelectMethod == config::kSelectViews) {
        SetIncludeNames(settings.IncludeViewFolderNames);
        SetExcludeNames(settings.ExcludeViewFolderNames);
    }
    if (settings.SelectMethod == config::kSelectQuery) {
        m_queryEdit->setPlainText(Q(settings.Query));
    }
    m_ftEdit->setText(Q(settings.FTSearch));
    ShowMethod(settings.SelectMethod, settings.QueryAllDocs);
}

void SelectionPanel::Collect(config::ExportSettings &settings) const {
    settings.SelectMethod = m_viewsRadio->isChecked()                                  ? config::kSelectViews
                            : m_queryRadio->isChecked() || m_allDocsRadio->isChecked() ? config::kSelectQuery
                            : m_ftRadio->isChecked() ? config::kSelectFtSearch
                                                     : config::kSelectView;
    settings.QueryAllDocs = m_allDocsRadio->isChecked();
    settings.ViewName = ChosenView();
    if (settings.SelectMethod == config::kSelectViews) {
        settings.IncludeViewFolderNames = m_includeNames;
        settings.ExcludeViewFolderNames = m_excludeNames;
        settings.ViewName.clear();
    }
    settings.Query = m_queryEdit->toPlainText().toStdString();
    settings.FTSearch = m_ftEdit->text().toStdString();
}

}  // namespace gui
