#pragma once
// The binary form format: an optional resource header (FF 0A 00, a name,
// flags and size), the signature "TPF0", then each object as a flags byte
// for inherited, inline and indexed objects (F0 | flags), its class name and
// name, its properties (name and tagged value) up to a 0 tag, its nested
// objects up to a 0 tag. Read into the same tree as form texts, so the
// reader and the converters serve both.

#include "host/core/Export.h"
#include "host/core/FormTree.h"

#include <string>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

// True when Data starts like a binary form (the signature or a resource
// header); form texts start with a letter or blanks.
bool IsBinaryForm(std::string_view data);

// Reads one binary object and everything nested in it. Raises EParserError
// naming the offset ("at offset N") of what does not read; never reads
// beyond Data nor allocates more than Data could hold.
TFormObject ParseFormBinary(std::string_view data);

// The tree in the binary form format, with the signature and without a
// resource header. Raises EReadError for a name too long for the format.
std::string FormTreeBinary(const TFormObject& tree);

// A binary form or a form text, told apart by their first bytes.
TFormObject ParseFormData(std::string_view data);

// Converting between the two formats; values, references and events stay
// as they are.
std::string ObjectTextToBinary(std::string_view text);
std::string ObjectBinaryToText(std::string_view binary);

class TComponent;
// Writes components as WriteComponentText does, in the binary format.
std::string WriteComponentBinary(const TComponent* root);

} // namespace host

VESKAR_PUBLIC_END
