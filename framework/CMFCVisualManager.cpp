#include "framework/CMFCVisualManager.h"

IMPLEMENT_DYNAMIC(CMFCVisualManager, CObject)
IMPLEMENT_DYNAMIC(CMFCVisualManagerWindows, CMFCVisualManager)

namespace {
const CRuntimeClass* g_defaultManager = nullptr;
}

void CMFCVisualManager::SetDefaultManager(const CRuntimeClass* pRTIDefaultManager) {
    g_defaultManager = pRTIDefaultManager;
}

const CRuntimeClass* CMFCVisualManager::GetDefaultManagerClass() { return g_defaultManager; }
