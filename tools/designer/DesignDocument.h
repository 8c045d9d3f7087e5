#pragma once
// The form file being designed: read from a text or binary form file (or a
// new form when the file does not exist yet), held by a form designer, and
// written back in the format it was read in.
//
// A form whose root class is not registered (a program's own TForm1) is
// designed as a plain TForm and saved under its own class again. Objects of
// classes that are not registered are left out of the designed form, named
// in MissingClasses, and written back unchanged where they were.
// Code: DesignDocument.cpp.

#include "host/core/Exception.h"
#include "host/core/FormTree.h"
#include "host/designer/Designer.h"

#include <memory>
#include <string>
#include <vector>

namespace designer {

// A form file that does not read or cannot be written.
class EFormFileError : public host::Exception {
    using Exception::Exception;
};

class TDesignDocument {
public:
    // Raises EFormFileError with the file's name and what did not read
    // (line and column in a form text) when the file exists but is no form.
    explicit TDesignDocument(const std::string& path);

    host::TFormDesigner& Designer() const { return *FDesigner; }
    const std::string& Path() const { return FPath; }
    bool Binary() const { return FBinary; }
    // "Name: TClass" of each object left out.
    const std::vector<std::string>& MissingClasses() const { return FMissing; }

    // The file's contents as Save writes them.
    std::string FormData() const;
    // Writes the file through a temporary one beside it, then marks the
    // form saved. Raises EFormFileError naming the file and the reason
    // when it cannot be written; the file and the modified mark stay then.
    void Save();

private:
    struct TLeftOut {
        std::string ParentName;  // empty: the root
        host::TFormObject Object;
    };
    void LeaveOutMissing(host::TFormObject& object, bool isRoot);

    std::string FPath;
    bool FBinary = false;
    std::string FRootClass;
    std::vector<std::string> FMissing;
    std::vector<TLeftOut> FLeftOut;
    std::unique_ptr<host::TFormDesigner> FDesigner;
};

// The text of a new form file: an empty form named Form1 of class TForm1.
std::string NewFormText();

} // namespace designer
