// The "Move Data" page: whether processed documents are moved to a folder of the database, and which.
#pragma once

#include "OptionsPage.h"

class QListWidget;

namespace gui {

class CPropertySheetOptionMove : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionMove(config::ExportSettings &sheet, const OptionsContext &context,
                             QWidget *parent = nullptr);

    // Refuses while moving is on and no folder is chosen.
    bool CanLeave() override;

    QListWidget *Folders() const { return m_folders; }
    QCheckBox *ShowHidden() const { return m_showHidden; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FillFolders();

    const OptionsContext &m_context;
    QListWidget *m_folders;
    QCheckBox *m_showHidden;
    bool m_filled = false;
};

}  // namespace gui
