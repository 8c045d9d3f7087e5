#pragma once
// Message boxes of the host, shown through the application's UI back end.

#include <exception>
#include <string>

namespace host {

void ShowMessage(const std::string& text);
// Shows the message of a host Exception, or a generic text for anything else.
void ShowException(const std::exception& error);
// Shows the exception in flight; call from a catch block.
void ShowCurrentException();

} // namespace host
