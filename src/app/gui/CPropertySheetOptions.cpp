// The advanced export options sheet.
#include "CPropertySheetOptions.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "CPropertySheetCSVOptions.h"
#include "CPropertySheetOptionAttachments.h"
#include "CPropertySheetOptionCopy.h"
#include "CPropertySheetOptionLog.h"
#include "CPropertySheetOptionMove.h"
#include "CPropertySheetOptionOther.h"
#include "CPropertySheetOptionRT2Text.h"
#include "CPropertySheetOptionTextFile.h"
#include "CPropertySheetRtfFileOptions.h"
#include "CPropertySheetSubDirOptions.h"
#include "ProperySheetOptionReplace.h"

namespace gui {

CPropertySheetOptions::CPropertySheetOptions(config::ExportSettings &sheet, OptionsContext context,
                                             QWidget *parent)
    : QDialog(parent), m_context(std::move(context)) {
    setWindowTitle("Advanced Export Options");
    m_tabs = new QTabWidget(this);
    auto add = [this](OptionsPage *page, const char *caption) {
        m_pages.push_back(page);
        m_tabs->addTab(page, caption);
    };
    add(new CPropertySheetSubDirOptions(sheet, this), "Subdirectories");
    add(new CPropertySheetOptionAttachments(sheet, m_context, this), "Attachments/OLE");
    add(new CPropertySheetCSVOptions(sheet, this), "CSV Options");
    add(new CPropertySheetOptionTextFile(sheet, m_context, this), "Text / HTML Files");
    add(new CPropertySheetRtfFileOptions(sheet, m_context, this), "Rich Text Files");
    add(new CPropertySheetOptionOther(sheet, m_context, this), "Create PDFs");
    add(new CPropertySheetOptionCopy(sheet, this), "Copy Data");
    add(new CPropertySheetOptionMove(sheet, m_context, this), "Move Data");
    add(new CPropertySheetOptionLog(sheet, m_context, this), "Logging");
    add(new CPropertySheetOptionRT2Text(sheet, m_context, this), "Rich Text Advanced");
    add(new ProperySheetOptionReplace(sheet, this), "Control Characters");
    m_tabs->setUsesScrollButtons(false);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &CPropertySheetOptions::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &CPropertySheetOptions::reject);
    connect(m_tabs, &QTabWidget::currentChanged, this, &CPropertySheetOptions::PageChanged);
}

void CPropertySheetOptions::PageChanged(int index) {
    if (m_returning) {
        return;
    }
    if (!m_pages.at(static_cast<std::size_t>(m_current))->CanLeave()) {
        m_returning = true;
        m_tabs->setCurrentIndex(m_current);
        m_returning = false;
        return;
    }
    m_current = index;
}

void CPropertySheetOptions::accept() {
    // The page in view is left as by changing pages; the move check holds wherever the sheet stands,
    // since a move without a folder cannot run.
    OptionsPage *current = m_pages.at(static_cast<std::size_t>(m_current));
    if (!current->CanLeave()) {
        return;
    }
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] != current && dynamic_cast<CPropertySheetOptionMove *>(m_pages[i]) != nullptr &&
            !m_pages[i]->CanLeave()) {
            m_returning = true;
            m_tabs->setCurrentIndex(static_cast<int>(i));
            m_returning = false;
            m_current = static_cast<int>(i);
            return;
        }
    }
    QDialog::accept();
}

}  // namespace gui
