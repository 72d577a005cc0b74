// CObject and run-time class information (DECLARE_DYNAMIC / DECLARE_DYNCREATE).
#pragma once

#include <windows.h>

class CObject;

// Describes a class at run time: its name, its base and, for dynamically
// creatable classes, a function that makes a default-constructed object.
struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                      // 0xFFFF for classes that are not serialised
    CObject* (*m_pfnCreateObject)();     // null when the class is not creatable by name
    const CRuntimeClass* m_pBaseClass;

    // Null when the class cannot be created by name (or allocation fails).
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

class CObject {
public:
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

#define DECLARE_DYNAMIC(class_name)                                   \
public:                                                               \
    static const CRuntimeClass class##class_name;                     \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                 \
    DECLARE_DYNAMIC(class_name)                                       \
    static CObject* CreateObject();

#define CL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, pfn) \
    const CRuntimeClass class_name::class##class_name = {             \
        #class_name, static_cast<int>(sizeof(class_name)), schema,    \
        pfn, RUNTIME_CLASS(base_name)};                               \
    const CRuntimeClass* class_name::GetRuntimeClass() const          \
    {                                                                 \
        return RUNTIME_CLASS(class_name);                             \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
    CL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                    \
    CObject* class_name::CreateObject() { return new class_name; }    \
    CL_IMPLEMENT_RUNTIMECLASS(class_name, base_name, 0xFFFF, class_name::CreateObject)
