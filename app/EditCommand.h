#pragma once
// One undo step: the bytes an edit changed and the object lists before and after it.

#include <QUndoCommand>
#include <vector>

#include "app/frm_EditorMain.h"

class TEditCommand : public QUndoCommand {
public:
    TEditCommand(TfrmEditorMain* window, const QString& name, std::vector<TByteChange> changes, TObjectState before, TObjectState after,
                 bool objectsChanged, const TEditPlace& place)
        : QUndoCommand(name), window_(window), changes_(std::move(changes)), before_(std::move(before)), after_(std::move(after)),
          objectsChanged_(objectsChanged), place_(place) {}

    void undo() override { window_->ApplyEdit(changes_, before_, objectsChanged_, place_, true); }
    void redo() override {
        // The edit itself already happened when the step was pushed.
        if (first_) {
            first_ = false;
            return;
        }
        window_->ApplyEdit(changes_, after_, objectsChanged_, place_, false);
    }

private:
    TfrmEditorMain* window_;
    std::vector<TByteChange> changes_;
    TObjectState before_, after_;
    bool objectsChanged_;
    TEditPlace place_;
    bool first_ = true;
};
