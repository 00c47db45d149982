// The re-entrant lock and the run-time class records.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "CriticalSection.h"
#include "Object.h"

TEST(CCriticalSection, OwnerMayLockAgainAndOthersWaitForTheLastUnlock) {
    CCriticalSection cs;
    ASSERT_TRUE(cs.Lock());
    ASSERT_TRUE(cs.Lock());  // a nested modal loop of the owner takes it again
    std::atomic<bool> acquired{false};
    std::thread other([&] {
        cs.Lock();
        acquired = true;
        cs.Unlock();
    });
    cs.Unlock();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(acquired);  // still held once
    cs.Unlock();
    other.join();
    EXPECT_TRUE(acquired);
}

namespace {

class CShape : public CObject {
    DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
    DECLARE_DYNCREATE(CCircle)

public:
    int m_nRadius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

}  // namespace

TEST(CRuntimeClass, NamesBasesAndFactory) {
    CCircle circle;
    const CRuntimeClass* pClass = circle.GetRuntimeClass();
    EXPECT_STREQ(pClass->m_lpszClassName, "CCircle");
    EXPECT_EQ(pClass->m_pBaseClass, RUNTIME_CLASS(CShape));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
    EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
    CShape shape;
    EXPECT_FALSE(shape.IsKindOf(RUNTIME_CLASS(CCircle)));

    EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);  // not dynamically creatable
    CObject* pObject = RUNTIME_CLASS(CCircle)->CreateObject();
    ASSERT_NE(pObject, nullptr);
    ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CCircle)));
    EXPECT_EQ(static_cast<CCircle*>(pObject)->m_nRadius, 7);
    delete pObject;
}
