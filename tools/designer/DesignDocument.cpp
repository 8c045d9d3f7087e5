#include "tools/designer/DesignDocument.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Component.h"
#include "host/core/TextUtils.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Writer.h"
#include "host/ui/Forms.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace designer {

using namespace host;

namespace {

bool IsComponentClass(const std::string& name) {
    return dynamic_cast<const TComponentClass*>(GetClass(name)) != nullptr;
}

TFormObject* FindObject(TFormObject& object, const std::string& name) {
    if (SameText(object.Name, name)) return &object;
    for (TFormObject& child : object.Children)
        if (TFormObject* found = FindObject(child, name)) return found;
    return nullptr;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFormFileError("Cannot read " + path + ": " + std::strerror(errno));
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

std::string NewFormText() {
    return "object Form1: TForm1\n"
           "  Left = 0\n"
           "  Top = 0\n"
           "  Caption = 'Form1'\n"
           "  ClientHeight = 224\n"
           "  ClientWidth = 384\n"
           "end\n";
}

TDesignDocument::TDesignDocument(const std::string& path) : FPath(path) {
    std::error_code error;
    const bool exists = std::filesystem::exists(path, error);
    const std::string data = exists ? ReadWholeFile(path) : NewFormText();
    try {
        FBinary = exists && IsBinaryForm(data);
        TFormObject tree = ParseFormData(data);
        FRootClass = tree.ClassName;
        // A program's own form class is designed as the form it derives from.
        if (!IsComponentClass(tree.ClassName)) tree.ClassName = "TForm";
        LeaveOutMissing(tree, true);
        FDesigner = TFormDesigner::ReadFormText(FormTreeText(tree));
    } catch (const EFormFileError&) {
        throw;
    } catch (const std::exception& e) {
        throw EFormFileError(path + ": " + e.what());
    }
}

void TDesignDocument::LeaveOutMissing(TFormObject& object, bool isRoot) {
    for (auto it = object.Children.begin(); it != object.Children.end();) {
        if (IsComponentClass(it->ClassName)) {
            LeaveOutMissing(*it, false);
            ++it;
            continue;
        }
        FMissing.push_back(it->Name + ": " + it->ClassName);
        FLeftOut.push_back({isRoot ? std::string() : object.Name, std::move(*it)});
        it = object.Children.erase(it);
    }
}

std::string TDesignDocument::FormData() const {
    TFormObject tree = ParseFormText(FDesigner->FormText());
    tree.ClassName = FRootClass;
    for (const TLeftOut& left : FLeftOut) {
        TFormObject* parent = left.ParentName.empty() ? &tree : FindObject(tree, left.ParentName);
        (parent ? parent : &tree)->Children.push_back(left.Object);
    }
    return FBinary ? FormTreeBinary(tree) : FormTreeText(tree);
}

void TDesignDocument::Save() {
    const std::string data = FormData();
    std::error_code error;
    if (std::filesystem::exists(FPath, error) && access(FPath.c_str(), W_OK) != 0)
        throw EFormFileError("Cannot save " + FPath + ": " + std::strerror(errno));
    // Written beside the file first, so a failed write leaves the file whole.
    const std::string temporary = FPath + ".saving";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw EFormFileError("Cannot save " + FPath + ": " + std::strerror(errno));
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.close();
        if (!out) {
            const std::string reason = std::strerror(errno);
            std::remove(temporary.c_str());
            throw EFormFileError("Cannot save " + FPath + ": " + reason);
        }
    }
    if (std::rename(temporary.c_str(), FPath.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        throw EFormFileError("Cannot save " + FPath + ": " + reason);
    }
    FDesigner->MarkSaved();
}

} // namespace designer
