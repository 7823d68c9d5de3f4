#include "platform/win32/win32_accessibility.h"

#include <oleacc.h>

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <span>
#include <thread>

#include "platform/win32/win32_window_query.h"

namespace corvane {
namespace {

// A cyclic tree (an object that lists its parent as its child) or a huge one (a browser's page)
// must not keep the walk going for ever; a practice form has a few dozen objects.
constexpr std::size_t kMostObjects = 2000;
constexpr int kDeepest = 32;

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
using AccessiblePtr = std::unique_ptr<IAccessible, ComRelease>;

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

// Empty when the object gives no text: many give no value, and a failure is no reason to drop it.
std::wstring TextOf(IAccessible& parent, const VARIANT& self, TextGetter get) {
  BSTR text = nullptr;
  const HRESULT got = (parent.*get)(self, &text);
  std::wstring taken = SUCCEEDED(got) && text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return taken;
}

// `self` is CHILDID_SELF for an object of its own, a child id for a simple element of `parent`.
AccessibleObject Describe(IAccessible& parent, const VARIANT& self, int depth) {
  AccessibleObject object;
  object.depth = depth;
  VARIANT role;
  VariantInit(&role);
  if (SUCCEEDED(parent.get_accRole(self, &role)) && role.vt == VT_I4) object.role = role.lVal;
  VariantClear(&role);
  object.name = TextOf(parent, self, &IAccessible::get_accName);
  object.value = TextOf(parent, self, &IAccessible::get_accValue);
  long x = 0, y = 0, width = 0, height = 0;
  if (SUCCEEDED(parent.accLocation(&x, &y, &width, &height, self))) object.location = Rect{x, y, x + width, y + height};
  return object;
}

struct Walk {
  HWND window;
  std::vector<AccessibleObject> objects;
};

// An object of another window (a child window's own tree, a frame of another program) is that
// window's to answer for: it is neither listed nor entered. The system's object of a window says
// which window it is (IOleWindow); a drawn object does not, and is ours. Asking the object alone
// costs one call into the program, where WindowFromAccessibleObject climbs every parent.
bool IsOfAnotherWindow(IAccessible& object, HWND window) {
  IOleWindow* raw = nullptr;
  if (FAILED(object.QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&raw)))) return false;
  HWND owner = nullptr;
  const bool known = SUCCEEDED(raw->GetWindow(&owner));
  raw->Release();
  return known && owner && owner != window;
}

void WalkChildren(IAccessible& parent, int depth, Walk& walk);

// A child is a simple element (a child id, described by its parent) or an object of its own.
void Visit(IAccessible& parent, const VARIANT& child, int depth, Walk& walk) {
  IAccessible* raw = nullptr;
  if (child.vt == VT_I4) {
    walk.objects.push_back(Describe(parent, child, depth));
  } else if (child.vt == VT_DISPATCH && child.pdispVal &&
             SUCCEEDED(child.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&raw)))) {
    const AccessiblePtr object(raw);
    if (IsOfAnotherWindow(*object, walk.window)) return;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    walk.objects.push_back(Describe(*object, self, depth));
    WalkChildren(*object, depth + 1, walk);
  }
}

void WalkChildren(IAccessible& parent, int depth, Walk& walk) {
  long count = 0;
  if (depth > kDeepest || FAILED(parent.get_accChildCount(&count)) || count <= 0) return;
  std::vector<VARIANT> children(std::min<std::size_t>(static_cast<std::size_t>(count), kMostObjects));
  long obtained = 0;
  if (FAILED(AccessibleChildren(&parent, 0, static_cast<long>(children.size()), children.data(), &obtained))) return;
  const auto listed = static_cast<std::size_t>(std::clamp(obtained, 0L, static_cast<long>(children.size())));
  for (VARIANT& child : std::span(children).first(listed)) {
    if (walk.objects.size() < kMostObjects) Visit(parent, child, depth, walk);
    VariantClear(&child);
  }
}

// What the walking thread hands back. Shared: a walk abandoned at the time limit still writes into it.
struct WalkResult {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  AccessibleRead read{AccessibleRead::Status::NotAnswering, {}};
};

// On a single-threaded apartment of its own, as a screen reader's: the proxies of the other
// program's objects are this thread's alone and die with it.
void WalkTree(HWND window, LRESULT answer, const std::shared_ptr<WalkResult>& result) {
  AccessibleRead read{AccessibleRead::Status::NotAnswering, {}};  // an answer we cannot unpack gives no tree
  if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
    IAccessible* raw = nullptr;
    if (SUCCEEDED(ObjectFromLresult(answer, IID_IAccessible, 0, reinterpret_cast<void**>(&raw)))) {
      const AccessiblePtr root(raw);
      Walk walk{window, {}};
      WalkChildren(*root, 1, walk);
      read = {AccessibleRead::Status::Read, std::move(walk.objects)};
    }
    CoUninitialize();
  }
  // A program that quit during the walk answered our last calls with failures: its tree is not whole.
  if (!IsWindow(window)) read = {AccessibleRead::Status::NotAWindow, {}};
  const std::lock_guard lock(result->mutex);
  result->read = std::move(read);
  result->done = true;
  result->finished.notify_one();
}

}  // namespace

AccessibleRead Win32Accessibility::ObjectsOf(WindowHandle window) {
  const HWND target = HwndOf(window);
  if (!IsWindow(target)) return {AccessibleRead::Status::NotAWindow, {}};
  const auto deadline = std::chrono::steady_clock::now() + kTextReadTimeout;
  DWORD_PTR answer = 0;
  SetLastError(ERROR_SUCCESS);
  if (!SendMessageTimeoutW(target, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                           static_cast<UINT>(kTextReadTimeout.count()), &answer)) {
    const DWORD error = GetLastError();
    const bool gone = error == ERROR_INVALID_WINDOW_HANDLE || (error != ERROR_TIMEOUT && !IsWindow(target));
    return {gone ? AccessibleRead::Status::NotAWindow : AccessibleRead::Status::NotAnswering, {}};
  }
  // Every window that leaves its accessibility to the system answers 0: the system's object
  // lists child windows, which the window query reads already.
  if (answer == 0) return {AccessibleRead::Status::Read, {}};
  // The calls into the other program have no time limit of their own: a program that stops
  // answering during the walk would hold the walking thread for good, so we stop waiting for it
  // and leave it behind.
  const auto result = std::make_shared<WalkResult>();
  std::thread(WalkTree, target, static_cast<LRESULT>(answer), result).detach();
  std::unique_lock lock(result->mutex);
  if (!result->finished.wait_until(lock, deadline, [&] { return result->done; })) {
    return {AccessibleRead::Status::NotAnswering, {}};
  }
  return std::move(result->read);
}

}  // namespace corvane
