// Every modal dialog of both programs is shown through showModal, so that
// tests answer dialogs from a script instead of a blocking event loop.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <stdexcept>
#include <vector>

class QDialog;

// A test script's failure: a dialog or prompt that the script did not
// expect. The handler guard lets it through, so that it fails the test.
class ScriptError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Shows the dialog modally and returns its result (QDialog::Accepted,
// QDialog::Rejected, or the code the dialog finished with).
int showModal(QDialog& dialog);

// Set by a test program: a dialog or message box shown while no script
// answers it is passed to `report` (naming it) and raises ScriptError,
// instead of waiting in exec() for a user who never comes.
void setUnscriptedReport(std::function<void(const std::string& what)> report);
// With a report set: reports `what` and raises ScriptError. Else returns.
void failUnscripted(const std::string& what);

// Replaces the blocking exec() while it lives. Each showing of a dialog
// takes the next answer of the script, which must name the dialog by its
// object name; a dialog that is not next in the script, or comes when the
// script is used up, raises ScriptError.
//
// What a scripted showing does, in the order exec() would:
//   1. the result is reset to 0 and the dialog is shown, modal (its show
//      event runs, and with it any handler of the form's showing);
//   2. the answer runs with the dialog open: it may fill controls, click
//      buttons (whose handlers may accept or reject), and check state;
//   3. if the dialog is still open, it is finished with the code the
//      answer returned, as done(code) would on a button (accepted() or
//      rejected() and finished() are emitted, the dialog is hidden).
// showModal then returns the code the dialog finished with. As under
// exec(), a dialog finished by done(), accept() or reject() gets no close
// event; close() (the window's close box) sends one, whose handler may
// refuse it, and then rejects. A dialog that
// closes itself in step 2 keeps its own result; the answer's return value
// is then not used. A dialog deleted in step 2 (WA_DeleteOnClose) gives the
// code of its finished() signal, or Rejected.
class ScriptedDialogs {
public:
    using Answer = std::function<int(QDialog&)>;

    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // The next showing must be the dialog named `objectName`.
    ScriptedDialogs& answer(const QString& objectName, Answer answer);
    // Shorthand: leave the controls as they are and finish with `result`.
    ScriptedDialogs& answer(const QString& objectName, int result);

    // Object names of the dialogs shown, in order (unexpected ones too).
    const std::vector<QString>& shown() const { return shown_; }
    std::size_t unanswered() const { return answers_.size(); }

private:
    struct Entry {
        QString objectName;
        Answer answer;
    };
    int run(QDialog& dialog);

    std::deque<Entry> answers_;
    std::vector<QString> shown_;
    std::function<int(QDialog&)> previous_;
};
