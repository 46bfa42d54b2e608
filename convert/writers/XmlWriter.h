#pragma once
// Writes the chosen fields of every QSO as XML (type 46) in the ADIF element names,
// encoded as ISO-8859-1 as its declaration says.

#include "convert/engine/LogFormat.h"

#include <string>
#include <string_view>

namespace qx7 {

// The element name of a field key ("CALL" -> "CALL", "DATE" -> "QSO_DATE"...).
std::string_view xmlTagOf(std::string_view key);
// UTF-8 text as ISO-8859-1 element content: markup characters escaped, characters
// beyond U+00FF as character references.
std::string xmlLatin1(std::string_view utf8);

bool WriteXml(TQXLogSpec& output, WriteContext& context);

class XmlWriter : public LogWriter
{
public:
    bool write(TQXLogSpec& output, WriteContext& context) const override
    {
        return WriteXml(output, context);
    }
};

} // namespace qx7
