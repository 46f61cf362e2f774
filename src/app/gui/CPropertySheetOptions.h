// The "Advanced Export Options" sheet: eleven pages over a copy of the export settings; OK keeps the
// changes, Cancel drops them.
#pragma once

#include <QDialog>
#include <vector>

#include "OptionsPage.h"

class QDialogButtonBox;
class QTabWidget;

namespace gui {

class CPropertySheetOptions : public QDialog {
    Q_OBJECT

public:
    // sheet: the record the pages edit (the caller copies the working record in before and back after
    // OK); context: what the pages need of the main dialog, kept for the sheet's life.
    CPropertySheetOptions(config::ExportSettings &sheet, OptionsContext context, QWidget *parent = nullptr);

    QTabWidget *Tabs() const { return m_tabs; }
    OptionsPage *Page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    QDialogButtonBox *Buttons() const { return m_buttons; }

    void accept() override;

private:
    void PageChanged(int index);

    OptionsContext m_context;
    QTabWidget *m_tabs;
    QDialogButtonBox *m_buttons;
    std::vector<OptionsPage *> m_pages;
    int m_current = 0;
    bool m_returning = false;
};

}  // namespace gui
