// Test helper: builds ".x" files in the binary token format, plain or MSZIP-compressed, so
// that the importer can be tried on every variant of the format.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class CBinaryXWriter
{
public:
    void Name(const std::string& name);
    void OpenBrace() { Word(10); }
    void CloseBrace() { Word(11); }
    void Integers(std::initializer_list<uint32_t> values);
    void Floats(std::initializer_list<float> values);

    // The whole file with the header "xof 0303bin 0032".
    std::string BinaryFile() const;
    // The tokens raw-deflated into one MSZIP block after the header "xof 0303bzip0032".
    std::string CompressedFile() const;

private:
    // Tokens are words; counts and values double words.
    void Word(uint16_t value);
    void DoubleWord(uint32_t value);

    std::string m_Tokens;
};
