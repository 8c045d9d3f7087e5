#pragma once
// Reading form texts into components.
//
// A read makes the components a text describes (by class name, owned by the
// root, each in csLoading), nests controls in their enclosing controls, sets
// the properties in text order, and, once everything is read, resolves the
// component references (forward ones too, and Root.Component references to
// other global roots) and the event bindings (to published methods of the
// root), then calls Loaded on each component in the order read.
//
// A reference to a root that does not exist yet waits: it is set when a
// later read makes a root of that name, and dropped when its component ends.
//
// Each entry that takes a text takes a binary form as well (see
// FormBinary.h), told apart by the first bytes.
//
// A text that does not read raises EParserError (or EClassNotFound) naming
// the place; the components the read made are freed again and the others
// leave the loading state without Loaded.

#include "host/core/Export.h"
#include "host/core/FormTree.h"

#include <memory>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

class TComponent;

class TReader {
public:
    TReader();
    TReader(const TReader&) = delete;
    TReader& operator=(const TReader&) = delete;
    // A reader that was not finished undoes its read (see above).
    ~TReader();

    // Reads a text into an existing Root: its properties and its components
    // (made for object lines, found among Root's for inherited ones). Several
    // texts may be read into the same root before Finish (an inherited form's
    // definitions, ancestor first). Raises EInvalidOperation for another root.
    void ReadRoot(TComponent* root, std::string_view text);
    void ReadRoot(TComponent* root, const TFormObject& tree);
    // Resolves references and events, then calls Loaded on every component
    // read. Once only.
    void Finish();

    TComponent* Root() const;

private:
    class TImpl;
    std::unique_ptr<TImpl> FImpl;
};

// Reads Text into Root and finishes.
void ReadComponentText(TComponent* root, std::string_view text);
// Makes the root the text describes (its class must be registered) with the
// given owner, reads the text into it and finishes. The root is freed again
// when the read fails.
TComponent* CreateComponentFromText(std::string_view text, TComponent* owner = nullptr);

// References waiting for a root that does not exist yet.
int PendingReferenceCount();

} // namespace host

VESKAR_PUBLIC_END
