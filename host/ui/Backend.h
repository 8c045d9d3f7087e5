#pragma once
// The application's user-interface back end: every message box, exception
// report and (later) modal run goes through it, so the same program can run
// headless, in a terminal or in a window. The headless back end is the
// default: it records what was shown, in order, and answers nothing itself.

#include <memory>
#include <string>
#include <vector>

namespace host {

enum class TShownKind { Message, Exception, AboutBox };

struct TShownItem {
    TShownKind Kind;
    std::string Text;      // the message, or the exception's message
    std::string Detail;    // extra text (the about box's second line)
};

class TUIBackend {
public:
    virtual ~TUIBackend() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowException(const std::string& message) = 0;
    // The about box of a component class. A back end without a box of its
    // own shows the two texts as a message.
    virtual void AboutBox(const std::string& className, const std::string& version);
};

class THeadlessBackend : public TUIBackend {
public:
    void ShowMessage(const std::string& text) override;
    void ShowException(const std::string& message) override;
    // Records an AboutBox item: Text the class name, Detail the version.
    void AboutBox(const std::string& className, const std::string& version) override;

    // What was shown, oldest first.
    const std::vector<TShownItem>& Shown() const { return FShown; }
    void ClearShown() { FShown.clear(); }
    // Records an item; other kinds of dialog (about box) come through here.
    void Record(TShownItem item) { FShown.push_back(std::move(item)); }

private:
    std::vector<TShownItem> FShown;
};

// The back end in use. Never null: a headless one is made on first use.
TUIBackend& UIBackend();
// Installs another back end; answers the one it replaces.
std::unique_ptr<TUIBackend> SetUIBackend(std::unique_ptr<TUIBackend> backend);
// The back end in use when it is the headless one, else nil.
THeadlessBackend* HeadlessBackend();

} // namespace host
