#pragma once

#include <QDialog>
#include <QString>

class QGroupBox;

namespace varenta::ui {
class MenuButtons;
class MsgPanel;
} // namespace varenta::ui

namespace varenta::administration {

// "Select Presentation Language": one button per language table of the question database
// (at most three), and "Cancel Presentation", which discards the new client.
class frmSelectLanguage : public QDialog {
    Q_OBJECT
public:
    // The buttons: one per language from the first, then "Cancel Presentation".
    static constexpr int FirstLanguage = 0;
    static constexpr int LanguageButtons = 3;
    static constexpr int CancelPresentation = FirstLanguage + LanguageButtons;

    explicit frmSelectLanguage(QWidget* parent = nullptr);

    // Finds the language tables ("English" and "Spanish", exactly so), shows a button for each
    // in the database's order and returns how many there are. Throws VError when the question
    // database cannot be read.
    int LanguageCount();

    // The caption of language button i ("One", "Two", "Three" until a table names it).
    QString LanguageCaption(int i) const;
    // The language chosen (empty until one is).
    const QString& Language() const { return language_; }

public slots:
    void reject() override; // Escape and the close box: as "Cancel Presentation"

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Chosen(int i);

    QString language_;
    bool done_ = false;
    QGroupBox* fraSelectMethod_;
    ui::MsgPanel* msgPanel_;
    ui::MenuButtons* buttons_;
};

} // namespace varenta::administration
