// Tokens of the effect language. Shader bodies are not tokenised: after the '{' that opens
// one, the parser takes the raw text up to the matching '}' with ReadRawBlock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

enum class EEffectToken : uint8_t
{
    End,
    Identifier,
    Number,
    String,
    Symbol, // one of ; : , = { } < > ( ) [ ] -
    Error,  // m_Text says what is wrong
};

struct SEffectToken
{
    EEffectToken m_Kind = EEffectToken::End;
    std::string m_Text;
    uint32_t m_Line = 1;

    bool Is(char symbol) const
    {
        return m_Kind == EEffectToken::Symbol && m_Text.size() == 1 && m_Text[0] == symbol;
    }
};

class CEffectLexer
{
public:
    explicit CEffectLexer(const std::string& text)
        : m_Text(text)
    {
    }

    SEffectToken Next();
    // The text after the last token (a '{') up to its matching '}', which is consumed.
    // False at the end of the text (an unclosed block); outLine is the line where the text
    // begins.
    bool ReadRawBlock(std::string& outCode, uint32_t& outLine);

private:
    // Skips blanks and comments; false for a comment that never closes.
    bool SkipBlanksAndComments();
    char Peek(std::size_t ahead = 0) const
    {
        return m_Position + ahead < m_Text.size() ? m_Text[m_Position + ahead] : '\0';
    }
    bool AtEnd() const { return m_Position >= m_Text.size(); }
    void Advance();

    const std::string& m_Text;
    std::size_t m_Position = 0;
    uint32_t m_Line = 1;
};
