// The document selection part of the main dialog: the selection-method radio buttons and the controls
// of each method (one view or folder; include and exclude lists; a query formula; all documents).
#pragma once

#include <QGroupBox>
#include <string>
#include <vector>

#include "config/ExportSettings.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace gui {

class SelectionPanel : public QGroupBox {
    Q_OBJECT

public:
    // working: the dialog's settings record; the radio buttons write SelectMethod and QueryAllDocs.
    SelectionPanel(config::ExportSettings &working, QWidget *parent = nullptr);

    // Every view and folder of the open database (hidden ones too); the view list shows those whose
    // name does not begin with "(" unless "Show Hidden" is checked.
    void SetDatabaseViews(const std::vector<std::string> &names);
    const std::vector<std::string> &DatabaseViews() const { return m_databaseViews; }

    // The record's selection into the controls (SelectMethod, ViewName, both lists, Query).
    void Apply(const config::ExportSettings &settings);
    // The controls into a record: the chosen view, for method 2 both lists (and no view name), the query.
    void Collect(config::ExportSettings &settings) const;

    // The method whose controls are shown (1 to 4) and whether "All Docs" is chosen.
    void ShowMethod(int method, bool allDocs);
    std::string ChosenView() const;
    void SetIncludeNames(const std::vector<std::string> &names);
    void SetExcludeNames(const std::vector<std::string> &names);
    const std::vector<std::string> &IncludeNames() const { return m_includeNames; }
    const std::vector<std::string> &ExcludeNames() const { return m_excludeNames; }

    QRadioButton *ViewRadio() const { return m_viewRadio; }
    QRadioButton *ViewsRadio() const { return m_viewsRadio; }
    QRadioButton *QueryRadio() const { return m_queryRadio; }
    QRadioButton *AllDocsRadio() const { return m_allDocsRadio; }
    QListWidget *ViewList() const { return m_viewList; }
    QCheckBox *ShowHiddenViews() const { return m_showHiddenViews; }
    QListWidget *IncludeList() const { return m_includeList; }
    QListWidget *ExcludeList() const { return m_excludeList; }
    QPushButton *IncludeButton() const { return m_includeButton; }
    QPushButton *ExcludeButton() const { return m_excludeButton; }
    QPlainTextEdit *QueryEdit() const { return m_queryEdit; }

signals:
    // A ">>>" button: the dialog checks the database and opens the include (or exclude) dialog.
    void listDialogRequested(bool include);

private:
    void FillViewList(const std::string &keep);
    void MethodClicked(int method);

    config::ExportSettings &m_working;
    std::vector<std::string> m_databaseViews;
    std::vector<std::string> m_includeNames;
    std::vector<std::string> m_excludeNames;
    QRadioButton *m_viewRadio;
    QRadioButton *m_viewsRadio;
    QRadioButton *m_queryRadio;
    QRadioButton *m_allDocsRadio;
    QRadioButton *m_ftRadio;
    QStackedWidget *m_pages;
    QListWidget *m_viewList;
    QCheckBox *m_showHiddenViews;
    QListWidget *m_includeList;
    QListWidget *m_excludeList;
    QPushButton *m_includeButton;
    QPushButton *m_excludeButton;
    QPlainTextEdit *m_queryEdit;
    QLineEdit *m_ftEdit;
};

}  // namespace gui
