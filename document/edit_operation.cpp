// The editing operation's bracket around the document's primitives.
#include "document/edit_operation.h"

#include <utility>

#include "document/map_document.h"

namespace kv {

EditOperation::EditOperation(MapDocument& doc, History history, std::string stepName)
    : doc_(doc), change_(doc.openChange_ ? doc.openChange_ : &own_), outermost_(!doc.openChange_) {
    if (!outermost_) return;
    doc_.openChange_ = &own_;
    if (history == History::NewStep) doc_.history.begin(std::move(stepName));
}

EditOperation::~EditOperation() {
    commit();
}

EditChange& EditOperation::change() {
    return *change_;
}

void EditOperation::commit() {
    if (committed_) return;
    committed_ = true;
    if (!outermost_) return;
    doc_.openChange_ = nullptr;
    doc_.history.end();
    if (!own_.any()) return;
    doc_.isClean = 0;
    if (doc_.onEdited) doc_.onEdited(own_);
}

}  // namespace kv
