#include "ChannelProbe.h"

std::vector<AnsiString> ReadAll(TChannelReader& reader)
{
    std::vector<AnsiString> messages;
    AnsiString message;
    while (reader.ReadMessage(message))
        messages.push_back(message);
    return messages;
}

AnsiString WithNul(const AnsiString& text)
{
    return text + '\0';
}
