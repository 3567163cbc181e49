// One render variable: a named, untyped byte buffer that producers write and effects read by
// name. Variables are created only by CVarManager and never move or die, so a pointer to one
// may be kept for the whole run. Reading and writing take no lock.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

class CVar
{
public:
    CVar() = default;
    CVar(const CVar&) = delete;
    CVar& operator=(const CVar&) = delete;

    uint32_t GetSize() const { return static_cast<uint32_t>(m_Bytes.size()); }
    // Address of the first byte; only meaningful when the size is at least 1.
    uint8_t* GetData() { return m_Bytes.data(); }
    const uint8_t* GetData() const { return m_Bytes.data(); }

    // Grows with zero bytes or truncates; the leading bytes are kept.
    void Resize(uint32_t size) { m_Bytes.resize(size, 0); }
    // Becomes size zero bytes.
    void Reset(uint32_t size);

    // Typed setters take the size of their type without a message, then copy the value in.
    void SetFloat(float value) { SetBytes(&value, sizeof(value)); }
    void SetUInt(uint32_t value) { SetBytes(&value, sizeof(value)); }
    // Four floats (colour or vector with a fourth component).
    template <typename TVector>
    void SetVector(const TVector& value)
    {
        SetValue<16>(value);
    }
    // Three four-float vectors.
    template <typename TVectors>
    void SetVector3x(const TVectors& value)
    {
        SetValue<48>(value);
    }
    // A 4x4 float matrix, row-major with the translation in elements 12 to 14.
    template <typename TMatrix>
    void SetMatrix(const TMatrix& value)
    {
        SetValue<64>(value);
    }

    // Typed getters copy out only when the size is exactly their type's; else false and the
    // output stays untouched.
    bool GetFloat(float& value) const { return GetBytes(&value, sizeof(value)); }
    template <typename TMatrix>
    bool GetMatrix(TMatrix& value) const
    {
        static_assert(sizeof(TMatrix) == 64 && std::is_trivially_copyable_v<TMatrix>);
        return GetBytes(&value, sizeof(value));
    }

    // Text carried by the technique and pass variables.
    const std::string& GetText() const { return m_Text; }
    void SetText(const std::string& text) { m_Text = text; }

private:
    template <std::size_t Size, typename TValue>
    void SetValue(const TValue& value)
    {
        static_assert(sizeof(TValue) == Size && std::is_trivially_copyable_v<TValue>);
        SetBytes(&value, Size);
    }
    void SetBytes(const void* source, std::size_t size);
    bool GetBytes(void* destination, std::size_t size) const;

    std::vector<uint8_t> m_Bytes;
    std::string m_Text;
};
