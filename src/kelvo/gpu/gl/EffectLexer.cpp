#include "kelvo/gpu/gl/EffectLexer.h"

#include <cctype>
#include <cstring>

namespace
{
bool IsIdentifierStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool IsIdentifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}
bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
}

void CEffectLexer::Advance()
{
    if (Peek() == '\n')
        ++m_Line;
    ++m_Position;
}

bool CEffectLexer::SkipBlanksAndComments()
{
    while (!AtEnd())
    {
        const char c = Peek();
        if (std::isspace(static_cast<unsigned char>(c)) != 0)
            Advance();
        else if (c == '/' && Peek(1) == '/')
            while (!AtEnd() && Peek() != '\n')
                Advance();
        else if (c == '/' && Peek(1) == '*')
        {
            Advance();
            Advance();
            while (!AtEnd() && !(Peek() == '*' && Peek(1) == '/'))
                Advance();
            if (AtEnd())
                return false;
            Advance();
            Advance();
        }
        else
            break;
    }
    return true;
}

SEffectToken CEffectLexer::Next()
{
    SEffectToken token;
    if (!SkipBlanksAndComments())
    {
        token.m_Kind = EEffectToken::Error;
        token.m_Text = "comment not closed";
        token.m_Line = m_Line;
        return token;
    }
    token.m_Line = m_Line;
    if (AtEnd())
        return token;

    const char c = Peek();
    const std::size_t start = m_Position;
    if (IsIdentifierStart(c))
    {
        while (IsIdentifierChar(Peek()))
            Advance();
        token.m_Kind = EEffectToken::Identifier;
        token.m_Text = m_Text.substr(start, m_Position - start);
    }
    else if (IsDigit(c) || (c == '.' && IsDigit(Peek(1))))
    {
        while (IsDigit(Peek()) || Peek() == '.')
            Advance();
        if (Peek() == 'e' || Peek() == 'E')
        {
            Advance();
            if (Peek() == '+' || Peek() == '-')
                Advance();
            while (IsDigit(Peek()))
                Advance();
        }
        if (Peek() == 'f' || Peek() == 'F' || Peek() == 'u' || Peek() == 'U')
            Advance();
        token.m_Kind = EEffectToken::Number;
        token.m_Text = m_Text.substr(start, m_Position - start);
    }
    else if (c == '"')
    {
        Advance();
        while (!AtEnd() && Peek() != '"' && Peek() != '\n')
        {
            if (Peek() == '\\' && (Peek(1) == '"' || Peek(1) == '\\'))
                Advance();
            token.m_Text += Peek();
            Advance();
        }
        if (Peek() != '"')
        {
            token.m_Kind = EEffectToken::Error;
            token.m_Text = "string not closed";
            return token;
        }
        Advance();
        token.m_Kind = EEffectToken::String;
    }
    else if (c != '\0' && std::strchr(";:,={}<>()[]-", c) != nullptr)
    {
        Advance();
        token.m_Kind = EEffectToken::Symbol;
        token.m_Text = std::string(1, c);
    }
    else
    {
        token.m_Kind = EEffectToken::Error;
        const auto byte = static_cast<unsigned char>(c);
        token.m_Text = std::isprint(byte) != 0
                           ? std::string("unexpected character '") + c + "'"
                           : "unexpected byte " + std::to_string(static_cast<unsigned>(byte));
    }
    return token;
}

bool CEffectLexer::ReadRawBlock(std::string& outCode, uint32_t& outLine)
{
    outLine = m_Line;
    const std::size_t start = m_Position;
    int depth = 1;
    while (!AtEnd())
    {
        const char c = Peek();
        if (c == '/' && Peek(1) == '/')
        {
            while (!AtEnd() && Peek() != '\n')
                Advance();
            continue;
        }
        if (c == '/' && Peek(1) == '*')
        {
            Advance();
            Advance();
            while (!AtEnd() && !(Peek() == '*' && Peek(1) == '/'))
                Advance();
            if (AtEnd())
                return false;
            Advance();
            Advance();
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0)
        {
            outCode = m_Text.substr(start, m_Position - start);
            Advance();
            return true;
        }
        Advance();
    }
    return false;
}
