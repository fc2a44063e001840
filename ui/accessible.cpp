#include "ui/accessible.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

#include "ui/handles.h"

namespace ui {
namespace {

// The control's own name over the standard object, to which every other
// question goes. Made afresh for each request and owned by its COM
// references; it keeps oleacc (where the standard object's code lives) and
// oleaut32 (whose allocator frees the name it hands out) loaded while it
// lives. Loaded on the first request, so start-up does not pay for them.
class NamedObject final : public IAccessible {
 public:
  static LRESULT Answer(HWND control, WPARAM flags, const wchar_t* name) {
    auto* object = new (std::nothrow) NamedObject(name);
    if (!object) return 0;
    const auto createStandard = ModuleFunction<decltype(&CreateStdAccessibleObject)>(
        object->oleacc_.get(), "CreateStdAccessibleObject");
    const auto lresultFrom =
        ModuleFunction<decltype(&LresultFromObject)>(object->oleacc_.get(), "LresultFromObject");
    LRESULT result = 0;
    if (createStandard && lresultFrom && object->allocString_ &&
        SUCCEEDED(createStandard(control, OBJID_CLIENT, __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&object->standard_)))) {
      result = lresultFrom(__uuidof(IAccessible), flags, object);  // holds its own reference
    }
    object->Release();
    return result > 0 ? result : 0;  // 0: the system answers with the standard object
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    const bool mine = iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible);
    *out = mine ? this : nullptr;
    if (mine) AddRef();
    return mine ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);
    if (!name) return E_POINTER;
    *name = allocString_(name_);
    return *name ? S_OK : E_OUTOFMEMORY;
  }

  // IDispatch and the rest of IAccessible: the standard object's answers.
  STDMETHODIMP GetTypeInfoCount(UINT* n) override { return standard_->GetTypeInfoCount(n); }
  STDMETHODIMP GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return standard_->GetTypeInfo(i, l, t); }
  STDMETHODIMP GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
    return standard_->GetIDsOfNames(r, n, c, l, d);
  }
  STDMETHODIMP Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                      UINT* a) override {
    return standard_->Invoke(d, r, l, f, p, v, e, a);
  }
  STDMETHODIMP get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
  STDMETHODIMP get_accChildCount(long* n) override { return standard_->get_accChildCount(n); }
  STDMETHODIMP get_accChild(VARIANT c, IDispatch** p) override { return standard_->get_accChild(c, p); }
  STDMETHODIMP get_accValue(VARIANT c, BSTR* s) override { return standard_->get_accValue(c, s); }
  STDMETHODIMP get_accDescription(VARIANT c, BSTR* s) override { return standard_->get_accDescription(c, s); }
  STDMETHODIMP get_accRole(VARIANT c, VARIANT* r) override { return standard_->get_accRole(c, r); }
  STDMETHODIMP get_accState(VARIANT c, VARIANT* s) override { return standard_->get_accState(c, s); }
  STDMETHODIMP get_accHelp(VARIANT c, BSTR* s) override { return standard_->get_accHelp(c, s); }
  STDMETHODIMP get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
    return standard_->get_accHelpTopic(f, c, t);
  }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT c, BSTR* s) override {
    return standard_->get_accKeyboardShortcut(c, s);
  }
  STDMETHODIMP get_accFocus(VARIANT* c) override { return standard_->get_accFocus(c); }
  STDMETHODIMP get_accSelection(VARIANT* c) override { return standard_->get_accSelection(c); }
  STDMETHODIMP get_accDefaultAction(VARIANT c, BSTR* s) override {
    return standard_->get_accDefaultAction(c, s);
  }
  STDMETHODIMP accSelect(long f, VARIANT c) override { return standard_->accSelect(f, c); }
  STDMETHODIMP accLocation(long* x, long* y, long* w, long* h, VARIANT c) override {
    return standard_->accLocation(x, y, w, h, c);
  }
  STDMETHODIMP accNavigate(long d, VARIANT s, VARIANT* e) override { return standard_->accNavigate(d, s, e); }
  STDMETHODIMP accHitTest(long x, long y, VARIANT* c) override { return standard_->accHitTest(x, y, c); }
  STDMETHODIMP accDoDefaultAction(VARIANT c) override { return standard_->accDoDefaultAction(c); }
  STDMETHODIMP put_accName(VARIANT c, BSTR s) override { return standard_->put_accName(c, s); }
  STDMETHODIMP put_accValue(VARIANT c, BSTR s) override { return standard_->put_accValue(c, s); }

 private:
  explicit NamedObject(const wchar_t* name) : name_(name) {}
  ~NamedObject() {
    if (standard_) standard_->Release();  // before the modules go
  }

  ModulePtr oleacc_ = LoadSystemLibrary(L"oleacc.dll");
  ModulePtr oleaut_ = LoadSystemLibrary(L"oleaut32.dll");
  decltype(&SysAllocString) allocString_ =
      ModuleFunction<decltype(&SysAllocString)>(oleaut_.get(), "SysAllocString");
  const wchar_t* name_;
  IAccessible* standard_ = nullptr;
  LONG refs_ = 1;
};

LRESULT CALLBACK NamedControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR name) {
  // OBJID_ values are compared as DWORDs, as the system sends them.
  if (msg == WM_GETOBJECT && static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT)) {
    if (const LRESULT object = NamedObject::Answer(hwnd, wParam, reinterpret_cast<const wchar_t*>(name))) {
      return object;
    }
  } else if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, NamedControlProc, id);
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace

void SetAccessibleName(HWND control, const wchar_t* name) {
  SetWindowSubclass(control, NamedControlProc, 0, reinterpret_cast<DWORD_PTR>(name));
}

}  // namespace ui
