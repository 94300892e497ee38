// What the main window offers a long operation that runs on the GUI thread:
// the progress line and the Cancel button in the status bar, and a gate on
// user input. While the operation runs, of user input only Esc and the Cancel
// button get through (and whatever reaches a dialog the operation opens);
// both ask the operation to stop. Every other key, click or close is dropped,
// so no menu or button can start a second command. An operation run from a
// dialog (the batch tag update) gates that dialog as well; Esc there stops the
// operation instead of closing the dialog.
#pragma once

#include <QObject>
#include <string>

class QLabel;
class QPushButton;
class QWidget;

namespace tandrel {

class OperationGate : public QObject {
    Q_OBJECT
public:
    // progress and cancel are hidden until an operation begins.
    OperationGate(QLabel& progress, QPushButton& cancel, QObject* parent);

    // Nested operations count as one: the first Begin shows the line and the
    // button and closes the gate, the last End undoes it.
    void Begin();
    void End();
    bool running() const { return depth_ > 0; }
    // The user asked the running operation to stop.
    bool stopRequested() const { return depth_ > 0 && stop_; }
    void RequestStop();
    // The progress line: the counts, then the entry being examined. An entry
    // too long for the line is shortened in its middle; the whole text is the
    // line's tool tip.
    void ShowProgress(const std::string& counts, const std::string& entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel& progress_;
    QPushButton& cancel_;
    int depth_ = 0;
    bool stop_ = false;
    QWidget* baseModal_ = nullptr;  // the dialog open when the operation began, if any
};

}  // namespace tandrel
