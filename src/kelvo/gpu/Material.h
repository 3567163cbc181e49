// A material: what one draw needs besides geometry. An effect and the technique to run, up to
// eight pixel textures and four vertex textures, and named values copied into render
// variables each time the material begins (the effect receives them through its "params").
// Drawing goes Begin, mesh draw, End; the caller sets the pass beforehand. A material holds
// one reference on its effect and each texture and gives them back when destroyed.
// Main thread only (the thread that owns the device).
#pragma once

#include "kelvo/gpu/ByteReader.h"
#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/GPUResource.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CVar;
class IGPUEffect;
class IGPUTexture;

class CMaterial : public IGPUResource
{
    KELVO_RTTI(CMaterial, IGPUResource)

public:
    static constexpr uint32_t kMaxPixelTextures = 8;
    static constexpr uint32_t kMaxVertexTextures = 4;
    static constexpr uint32_t kMaxTextures = kMaxPixelTextures + kMaxVertexTextures;

    CMaterial() = default;
    CMaterial(const CMaterial&) = delete;
    CMaterial& operator=(const CMaterial&) = delete;
    ~CMaterial() override;

    bool Update() override { return true; }
    bool Refresh() override { return true; }
    bool Release() override { return true; }
    uint32_t Load(const std::string&) override { return 0; }

    // Loads the effect and the textures (names past eight pixel and four vertex textures are
    // ignored); what does not load stays empty. Meant for a fresh material: a second call
    // overwrites without giving back the first references.
    void Setup(const std::string& effect, const std::string& technique,
               const std::vector<std::string>& pixelTextures, const std::vector<std::string>& vertexTextures);
    // Sets the value of the variable entry of that name, or adds an entry bound to the render
    // variable of that name at 16 (vector) or 4 (float) bytes.
    void SetVector(const std::string& name, const float value[4]);
    void SetFloat(const std::string& name, float value);
    // The material record of an ".am" file: its variables are added, then Setup. False when
    // the record cannot be read whole; the material then stays as it was.
    bool ReadFromFile(CByteReader& reader);

    // Selects the technique, copies the variables (an entry whose render variable now has
    // another size is logged and skipped), binds the textures and begins the effect's current
    // pass. 37 without an effect (technique and variables are set all the same).
    uint32_t Begin();
    // Ends the effect's pass; 37 without an effect.
    uint32_t End();

    IGPUEffect* GetEffect() const { return m_Effect; }
    const std::string& GetTechnique() const { return m_Technique; }
    uint32_t GetPixelTextureCount() const { return m_PixelTextureCount; }
    uint32_t GetVertexTextureCount() const { return m_VertexTextureCount; }
    const std::string& GetTextureName(uint32_t index) const { return m_TextureNames[index]; }
    IGPUTexture* GetTexture(uint32_t index) const { return m_Textures[index]; }
    uint32_t GetVariableCount() const { return static_cast<uint32_t>(m_Variables.size()); }

private:
    struct SVariable
    {
        std::string m_Name;
        std::vector<uint8_t> m_Value;
        std::string m_Text;
        CVar* m_Target = nullptr;
    };

    void SetValue(const std::string& name, const void* value, uint32_t size);
    // Loads texture name into entry index.
    void LoadTextureEntry(uint32_t index, const std::string& name);
    // Gives back the effect and texture references; the handles keep their values.
    void ReleaseReferences();

    std::string m_EffectName;
    GPUObjectHandle m_EffectHandle;
    IGPUEffect* m_Effect = nullptr;
    std::string m_Technique;
    std::array<std::string, kMaxTextures> m_TextureNames;
    std::array<GPUObjectHandle, kMaxTextures> m_TextureHandles{};
    std::array<IGPUTexture*, kMaxTextures> m_Textures{};
    uint32_t m_PixelTextureCount = 0;
    uint32_t m_VertexTextureCount = 0;
    std::vector<SVariable> m_Variables;
};
