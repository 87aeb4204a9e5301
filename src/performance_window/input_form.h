#pragma once

// The Rotor Performance window's form, built from the analysis's table of
// inputs (performance/inputs.h): one group box per group, one control per
// row. It holds the only copy of the inputs; every widget is set from it
// whenever it, the unit system or the design's figures change, so what the
// form shows is what is analysed. Editing a control changes the inputs and
// says so; nothing is read back from the widgets later.

#include "performance/inputs.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <optional>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;

namespace tivora {

class InputForm : public QWidget {
    Q_OBJECT

public:
    explicit InputForm(QWidget* parent = nullptr);

    const performance::AnalysisInputs& inputs() const { return inputs_; }
    void setInputs(performance::AnalysisInputs inputs);
    // How figures are shown, and what the defaults that follow the design are.
    void setDesign(UnitSystem system, const NumberFormat& format, const performance::DesignFigures& design);
    UnitSystem system() const { return system_; }
    // The box of a group shown apart from the form's columns (the
    // alternator's, on a page of its own); none for the others.
    QWidget* groupBox(performance::InputGroup group) const;
    const NumberFormat& format() const { return format_; }

    // A field whose text is no number: the analysis waits for it. Empty when none.
    std::optional<performance::InputId> unreadable() const;
    // The control of an input, for focus.
    QWidget* control(performance::InputId id) const;
    // Turns to the page that holds an input's control.
    void reveal(performance::InputId id);
    // Shows the air density of the site, or nothing.
    void showDensity(std::optional<double> densityKgM3);

    // Reads a file for an input; the message says why it could not be
    // (empty when it was loaded).
    QString loadFile(performance::InputId id, const QString& path);

    // The open dialog; replaceable so that tests never wait for a user.
    std::function<QString(const QString& title)> chooseFile;

signals:
    void inputsChanged();
    void fileRefused(const QString& message);

private:
    struct Row {
        const performance::InputEntry* entry;
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
        QLabel* fileName = nullptr;
        QAbstractButton* remove = nullptr;
        QButtonGroup* choices = nullptr;
        QComboBox* list = nullptr;        // a choice of many options, in one line
        bool hiddenUnlessPlaced = false;  // under a list's option: shown only while it is chosen
    };

public:
    // A box of the form: its group and title.
    struct Box {
        performance::InputGroup group;
        const char* title;
    };
    struct Page {
        const char* name;   // the page's objectName
        const char* title;  // its tab's
        Box columns[2][2];
    };

private:
    static int minimumFieldWidth(const QLineEdit* edit);
    void build();
    void addColumns(QWidget* page, const Box (&boxes)[2][2]);
    QWidget* buildGroup(performance::InputGroup group, const QString& title);
    void addNumber(QGridLayout* grid, Row& row);
    void addFile(QGridLayout* grid, Row& row);
    void addChoice(QGridLayout* grid, Row& row);
    void addList(QGridLayout* grid, Row& row);
    void edited(Row& row);
    void showAll();
    void showNumber(Row& row);
    void mark(QLineEdit* edit, const QString& why);
    QString captionOf(const performance::InputEntry& entry) const;
    Row& rowOf(performance::InputId id);

    performance::AnalysisInputs inputs_;
    UnitSystem system_ = UnitSystem::SI;
    NumberFormat format_;
    performance::DesignFigures design_;
    std::map<performance::InputId, Row> rows_;
    std::map<performance::InputId, QString> unreadable_;  // the texts that are no number
    QLabel* density_ = nullptr;
    std::map<performance::InputGroup, QWidget*> apart_;
    bool showing_ = false;
};

}  // namespace tivora
