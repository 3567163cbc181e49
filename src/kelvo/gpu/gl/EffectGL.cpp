#include "kelvo/gpu/gl/EffectGL.h"

#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/gl/GLEffect.h"
#include "platform/Log.h"

#include <fstream>
#include <sstream>

namespace
{
bool ReadTextFile(const std::string& path, std::string& outText)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::stringstream text;
    text << file.rdbuf();
    outText = text.str();
    return !file.bad();
}
}

CEffectGL::CEffectGL(CGLDevice* device)
    : m_Device(device)
{
}

CEffectGL::~CEffectGL()
{
    delete m_Effect;
}

uint32_t CEffectGL::Load(const std::string& fileName)
{
    const std::string path = CResourceManager::Instance().GetPath(fileName);
    if (path.empty())
        return kGPUResultNotFound;
    std::string text;
    std::string error;
    auto* effect = new CGLEffect(m_Device);
    if (!ReadTextFile(path, text))
        error = fileName + ": error: cannot read " + path;
    else if (effect->Compile(text, fileName, error))
        error.clear();
    if (!error.empty())
    {
        delete effect;
        DebugLog("[CEffectGL::Load] Name: %s\n", fileName.c_str());
        DebugLog("[CEffectGL::Load] Error:\n%s\n", error.c_str());
        return kGPUResultEffectCompile;
    }
    delete m_Effect;
    m_Effect = effect;
    m_Techniques.clear();
    m_Parameters.clear();
    return ParseEffect();
}

uint32_t CEffectGL::ParseEffect()
{
    for (const SEffectParameterSource& parameter : m_Effect->GetSource().m_Parameters)
        m_Parameters[parameter.m_Name] = parameter.GetByteSize();
    const auto& techniques = m_Effect->GetSource().m_Techniques;
    for (uint32_t index = 0; index < techniques.size(); ++index)
        if (!ParseTechnique(index))
            return kGPUResultEffectTechnique;
    return kGPUResultOk;
}

bool CEffectGL::ParseTechnique(uint32_t index)
{
    const SEffectTechniqueSource& technique = m_Effect->GetSource().m_Techniques[index];
    if (const SEffectAnnotationSource* params = technique.FindAnnotation("params"))
    {
        if (params->m_Type != EAnnotationType::String)
            return false;
        if (params->m_Value.size() >= kMaxParamsLength)
        {
            DebugLog("[CEffectGL::ParseTechnique] params of %s is %i characters long!\n",
                     technique.m_Name.c_str(), static_cast<int>(params->m_Value.size()));
            return false;
        }
        // Only the space character separates names; tabs and line breaks belong to a name.
        const std::string& text = params->m_Value;
        std::size_t start = text.find_first_not_of(' ');
        while (start != std::string::npos)
        {
            const std::size_t end = text.find(' ', start);
            const std::string name =
                text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!ParseRequirements(technique.m_Name, name))
                return false;
            start = end == std::string::npos ? end : text.find_first_not_of(' ', end);
        }
    }
    STechnique& entry = m_Techniques[technique.m_Name];
    for (const SEffectPassSource& pass : technique.m_Passes)
        entry.m_Passes.push_back(pass.m_Name);
    return true;
}

bool CEffectGL::ParseRequirements(const std::string& technique, const std::string& parameter)
{
    const auto declared = m_Parameters.find(parameter);
    if (declared == m_Parameters.end())
    {
        DebugLog("[CEffectGL::ParseRequirements] Undeclared param passed as requirement: %s!\n",
                 parameter.c_str());
        return false;
    }
    CVar* variable = GetVariable(parameter, declared->second);
    m_Techniques[technique].m_Requirements.emplace_back(parameter, variable);
    return true;
}

bool CEffectGL::SetEffectParams(const std::string& technique)
{
    const auto entry = m_Techniques.find(technique);
    if (entry == m_Techniques.end())
        return true;
    for (const auto& [name, variable] : entry->second.m_Requirements)
    {
        const auto declared = m_Parameters.find(name);
        if (declared == m_Parameters.end())
            continue;
        if (variable->GetSize() != declared->second)
        {
            DebugLog("[CEffectGL::SetEffectParams] Bad variable(%s) size, required: %i current "
                     "size: %i!\n",
                     name.c_str(), static_cast<int>(declared->second), static_cast<int>(variable->GetSize()));
            return false;
        }
        if (!m_Effect->SetValue(name, variable->GetData(), variable->GetSize()))
        {
            DebugLog("[CEffectGL::SetEffectParams] Error in CGLEffect::SetValue!\n");
            return false;
        }
    }
    return true;
}

uint32_t CEffectGL::Begin()
{
    const std::string technique = GetTechnique();
    if (!SetEffectParams(technique))
        return kGPUResultEffectParams;
    const std::string pass = GetPass();
    const auto entry = m_Techniques.find(technique);
    if (entry == m_Techniques.end())
        return kGPUResultEffectNoPass;
    const std::vector<std::string>& passes = entry->second.m_Passes;
    uint32_t passIndex = 0;
    while (passIndex < passes.size() && passes[passIndex] != pass)
        ++passIndex;
    if (passIndex == passes.size())
        return kGPUResultEffectNoPass;
    const int techniqueIndex = m_Effect->FindTechnique(technique);
    if (techniqueIndex < 0)
    {
        DebugLog("[CEffectGL::Begin] Error in CGLEffect::FindTechnique!\n");
        return kGPUResultEffectNoTechnique;
    }
    m_Effect->BeginPass(static_cast<uint32_t>(techniqueIndex), passIndex);
    return kGPUResultOk;
}

uint32_t CEffectGL::End()
{
    if (m_Effect == nullptr || !m_Effect->EndPass())
    {
        DebugLog("[CEffectGL::End] Error in CGLEffect::EndPass!\n");
        return kGPUResultEffectEnd;
    }
    return kGPUResultOk;
}
