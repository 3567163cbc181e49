#include "kelvo/tasks/UpdateManager.h"

#include "kelvo/core/LogicUpdate.h"
#include "kelvo/tasks/TaskManager.h"
#include "platform/AlignedAlloc.h"

#include <new>

namespace
{
constexpr std::size_t kNodeAlignment = 8;

struct SUpdateNode : platform::SLockFreeNode
{
    ILogicUpdate* m_Object = nullptr;
    uint32_t m_LogicKind = 0;
};
static_assert(alignof(SUpdateNode) <= kNodeAlignment);

void FreeNodes(platform::CLockFreeStack& stack)
{
    while (platform::SLockFreeNode* node = stack.Pop())
    {
        auto* updateNode = static_cast<SUpdateNode*>(node);
        updateNode->~SUpdateNode();
        platform::AlignedFree(updateNode);
    }
}
}

CUpdateManager::CUpdateManager(CTaskManager* taskManager)
    : m_Tasks{SUpdateManagerTask(this), SUpdateManagerTask(this), SUpdateManagerTask(this),
              SUpdateManagerTask(this)}
    , m_TaskManager(taskManager)
{
}

CUpdateManager::~CUpdateManager()
{
    FreeNodes(m_WorkList);
    FreeNodes(m_FreeNodes);
}

void CUpdateManager::Add(ILogicUpdate* object, uint32_t logicKind)
{
    if (!m_Started)
    {
        m_Started = true;
        for (auto task = m_Tasks.rbegin(); task != m_Tasks.rend(); ++task)
            m_TaskManager->AddTask(&*task, "Default");
    }

    SUpdateNode* node = static_cast<SUpdateNode*>(m_FreeNodes.Pop());
    if (!node)
    {
        void* block = platform::AlignedAlloc(sizeof(SUpdateNode), kNodeAlignment);
        if (!block)
            throw std::bad_alloc();
        node = new (block) SUpdateNode;
    }
    node->m_Object = object;
    node->m_LogicKind = logicKind;
    m_WorkList.Push(node);
}

bool CUpdateManager::ProcessOne()
{
    auto* node = static_cast<SUpdateNode*>(m_WorkList.Pop());
    if (!node)
        return false;
    node->m_Object->Update(node->m_LogicKind);
    m_FreeNodes.Push(node);
    return true;
}

void CUpdateManager::Wait()
{
    if (!m_Started.exchange(false))
        return;
    for (int i = 0; i < kTaskCount; ++i)
        m_CompletionSemaphore.Wait();
}
