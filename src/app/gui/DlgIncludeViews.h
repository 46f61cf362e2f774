// The "Include Views & Folders" dialog: chooses the views and folders an export includes or excludes.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;

namespace gui {

class DlgIncludeViews : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Include, Exclude };

    // databaseViews: every view and folder of the database; chosen: the names of the list as it stands.
    DlgIncludeViews(Mode mode, const std::vector<std::string> &databaseViews,
                    const std::vector<std::string> &chosen, QWidget *parent = nullptr);

    // The right-hand list, in its order (valid after OK).
    std::vector<std::string> Chosen() const;

    QListWidget *AvailableList() const { return m_available; }
    QListWidget *ChosenList() const { return m_chosen; }
    QLineEdit *MatchEdit() const { return m_match; }

    void AddSelected();
    void RemoveSelected();
    void AddAll();
    void RemoveAll();
    void AddMatch();

private:
    static void MoveItems(QListWidget *from, QListWidget *to, bool all);

    QListWidget *m_available;
    QListWidget *m_chosen;
    QLineEdit *m_match;
};

}  // namespace gui
