// The two choice dialogs of the Notes detection: "Select Lotus Notes Program Path" and "Select Lotus
// Notes Configuration File", each a list of candidates (newest first) with OK and Cancel.
#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class QListWidget;

namespace gui {

class DlgNotesCandidateSel : public QDialog {
    Q_OBJECT

public:
    // The chosen row after OK.
    std::optional<std::size_t> Selected() const;
    QListWidget *List() const { return m_list; }
    // OK without a selection says so and leaves the dialog open.
    void accept() override;

protected:
    DlgNotesCandidateSel(const QString &title, const QString &prompt, const std::string &emptyMessage,
                         const std::vector<std::string> &candidates, std::optional<std::size_t> current,
                         QWidget *parent);

private:
    QListWidget *m_list;
    std::string m_emptyMessage;
};

class DlgNotesProgPathSel : public DlgNotesCandidateSel {
    Q_OBJECT

public:
    DlgNotesProgPathSel(const std::vector<std::string> &candidates, std::optional<std::size_t> current,
                        QWidget *parent = nullptr);
};

class DlgNotesConfigFileSel : public DlgNotesCandidateSel {
    Q_OBJECT

public:
    DlgNotesConfigFileSel(const std::vector<std::string> &candidates, std::optional<std::size_t> current,
                          QWidget *parent = nullptr);
};

}  // namespace gui
