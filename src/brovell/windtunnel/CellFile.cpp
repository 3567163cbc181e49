#include "brovell/windtunnel/CellFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{
constexpr int32_t kMaxSampleValue = 65535;
constexpr uint32_t kMaxDigits = 9;
// Far more than the largest grid takes with comments.
constexpr long long kMaxCellFileBytes = 64LL << 20;

std::string Format(const char* format, long long a, long long b = 0, long long c = 0)
{
    char text[200];
    std::snprintf(text, sizeof(text), format, a, b, c);
    return text;
}

// Walks the text token by token, skipping whitespace and comments, counting lines.
class CPlainTokens
{
public:
    explicit CPlainTokens(const std::string& text)
        : m_Text(text)
    {
    }

    // Reads an unsigned decimal number; false with outError naming what was expected.
    bool ReadNumber(const char* what, int32_t& outValue, std::string& outError)
    {
        SkipSpace();
        if (m_Position == m_Text.size())
        {
            outError = std::string("missing ") + what + " (the file ends early)";
            return false;
        }
        uint64_t value = 0;
        uint32_t digits = 0;
        while (m_Position < m_Text.size() && !IsSeparator(m_Text[m_Position]))
        {
            const char c = m_Text[m_Position];
            if (c < '0' || c > '9')
            {
                outError = Format("line %lld: ", m_Line) + "unexpected character '" + std::string(1, c) +
                           "' in " + what;
                return false;
            }
            if (++digits > kMaxDigits)
            {
                outError = Format("line %lld: ", m_Line) + what + " has too many digits";
                return false;
            }
            value = value * 10 + static_cast<uint64_t>(c - '0');
            ++m_Position;
        }
        outValue = static_cast<int32_t>(value);
        return true;
    }

    bool StartsWithMagic()
    {
        if (m_Text.compare(0, 2, "P3") != 0 || (m_Text.size() > 2 && !IsSeparator(m_Text[2])))
            return false;
        m_Position = 2;
        return true;
    }

    long long GetLine() const { return m_Line; }

private:
    static bool IsSeparator(char c) { return IsSpace(c) || c == '#'; }
    static bool IsSpace(char c)
    {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    }

    void SkipSpace()
    {
        while (m_Position < m_Text.size())
        {
            const char c = m_Text[m_Position];
            if (c == '#')
            {
                while (m_Position < m_Text.size() && m_Text[m_Position] != '\n')
                    ++m_Position;
            }
            else if (IsSpace(c))
            {
                m_Line += c == '\n';
                ++m_Position;
            }
            else
                return;
        }
    }

    const std::string& m_Text;
    size_t m_Position = 0;
    long long m_Line = 1;
};

bool ReadSide(CPlainTokens& tokens, const char* what, int32_t& outValue, std::string& outError)
{
    if (!tokens.ReadNumber(what, outValue, outError))
        return false;
    if (outValue >= 2 && outValue <= kMaxCellGridSide)
        return true;
    outError = std::string(what) + Format(" %lld is out of range (2 to %lld)", outValue, kMaxCellGridSide);
    return false;
}
}

bool ParseCellText(const std::string& text, SCellGrid& outGrid, std::string& outError)
{
    CPlainTokens tokens(text);
    if (!tokens.StartsWithMagic())
    {
        outError = "not a plain PPM file (it does not start with \"P3\")";
        return false;
    }
    int32_t width = 0;
    int32_t height = 0;
    int32_t maxValue = 0;
    if (!ReadSide(tokens, "width", width, outError) || !ReadSide(tokens, "height", height, outError))
        return false;
    if (static_cast<int64_t>(width) * height > kMaxCellGridCells)
    {
        outError =
            Format("%lld x %lld cells is more than the limit of %lld", width, height, kMaxCellGridCells);
        return false;
    }
    if (!tokens.ReadNumber("maximum value", maxValue, outError))
        return false;
    if (maxValue < 1 || maxValue > kMaxSampleValue)
    {
        outError = Format("maximum value %lld is out of range (1 to %lld)", maxValue, kMaxSampleValue);
        return false;
    }

    // Red samples in file order, grown as they are read: a header alone cannot make the
    // grid's memory be taken.
    std::vector<int32_t> rows;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int channel = 0; channel < 3; ++channel)
            {
                int32_t sample = 0;
                if (!tokens.ReadNumber("sample", sample, outError))
                {
                    const long long read = (static_cast<long long>(y) * width + x) * 3 + channel;
                    outError += Format(": %lld of %lld samples read", read, 3LL * width * height);
                    return false;
                }
                if (sample > maxValue)
                {
                    outError = Format("line %lld: sample %lld is above the maximum value %lld",
                                      tokens.GetLine(), sample, maxValue) +
                               Format(" (column %lld, row %lld)", x, y);
                    return false;
                }
                if (channel == 0)
                    rows.push_back(sample);
            }
    std::vector<int32_t> flags(rows.size());
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            flags[static_cast<size_t>(x) * height + y] = rows[static_cast<size_t>(y) * width + x];
    outGrid.m_Width = width;
    outGrid.m_Height = height;
    outGrid.m_Flags = std::move(flags);
    return true;
}

bool ReadCellFile(const std::string& path, SCellGrid& outGrid, std::string& outError)
{
    FILE* file = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
    if (file == nullptr)
    {
        outError = "Cannot open the file: " + path;
        return false;
    }
    std::string text;
    char chunk[65536];
    size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof(chunk), file)) > 0 && text.size() <= kMaxCellFileBytes)
        text.append(chunk, count);
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError != 0)
        outError = path + ": cannot be read (" + std::strerror(readError) + ")";
    else if (text.size() > kMaxCellFileBytes)
        outError = path + Format(": the file is larger than %lld bytes", kMaxCellFileBytes);
    else if (ParseCellText(text, outGrid, outError))
        return true;
    else
        outError = path + ": " + outError;
    return false;
}
