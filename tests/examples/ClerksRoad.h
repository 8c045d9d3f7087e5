#pragma once
// The clerk's road through the demo's order form, shared by the tests that
// run it over storage failing in memory and in a database: letters of a
// customer number typed and the customer picked from the smart lookup, a
// part picked from its lookup in the part edit and again in the order grid,
// the order saved.

#include "examples/OrderEntry.h"
#include "host/data/DataSet.h"
#include "host/ui/Backend.h"

#include <functional>
#include <string>
#include <vector>

namespace demo::testing {

// One thing the clerk does. What escapes it reaches the clerk as the
// application shows any error its event handlers raise; an answer the
// lookup form did not take is not left for the next one.
void Act(const std::function<void()>& step);

// The demo's road, one event at a time: "ce" typed, the customer lookup
// opened, one row down and OK; the part lookup opened and its last part
// double-clicked; the customer lookup again, left with Esc; the first part
// taken instead, from the order grid's part column; the order saved.
// Answers what the customer edit showed after each event.
std::vector<std::string> ClerksRoad(TOrderEntryForm* form, host::TDataSet* orders, host::TDataSet* parts);

// The texts shown of one kind since the backend's list was last cleared.
std::vector<std::string> Shown(host::TShownKind kind);

// "'a' 'b' ...": the texts the customer edit showed, for a message.
std::string Road(const std::vector<std::string>& shown);

} // namespace demo::testing
