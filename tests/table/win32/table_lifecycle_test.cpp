// A refused creation and destruction of the table window, observed through window hooks.
#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "tests/support/win32/table_fixture.h"

namespace {

using namespace table_test;

// Refuses to create windows of class `refused` on this thread and notes each
// window's procedure and user data once its WM_DESTROY is handled.
struct WindowHooks {
    static inline const char* refused = "";
    static inline std::vector<std::tuple<HWND, LONG_PTR, LONG_PTR>> destroyed;
    HHOOK cbt = SetWindowsHookExA(WH_CBT, on_cbt, nullptr, GetCurrentThreadId());
    HHOOK ret = SetWindowsHookExA(WH_CALLWNDPROCRET, on_return, nullptr, GetCurrentThreadId());
    ~WindowHooks() { UnhookWindowsHookEx(cbt), UnhookWindowsHookEx(ret), refused = "", destroyed.clear(); }

    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* create = code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDA*>(lparam) : nullptr;
        const char* name = create ? create->lpcs->lpszClass : nullptr;
        if (HIWORD(reinterpret_cast<UINT_PTR>(name)) && lstrcmpiA(name, refused) == 0) return 1;
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    static LRESULT CALLBACK on_return(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* r = reinterpret_cast<CWPRETSTRUCT*>(lparam);
        if (code == HC_ACTION && r->message == WM_DESTROY) {
            destroyed.emplace_back(r->hwnd, GetWindowLongPtrA(r->hwnd, GWLP_WNDPROC),
                                   GetWindowLongPtrA(r->hwnd, GWLP_USERDATA));
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
};

TEST(TableLifecycle, a_table_without_its_list_view_is_refused_whole_and_a_destroyed_one_leaves_no_link_behind)
{
    TestParent parent;
    WindowHooks hooks;
    WindowHooks::refused = "SysListView32";
    EXPECT_EQ(parent.create_table(), nullptr);
    WindowHooks::refused = "";
    HWND table = parent.create_table();
    ASSERT_NE(table, nullptr);
    HWND list = GetDlgItem(table, IDC_TABLE_LIST), edit = GetDlgItem(table, IDC_TABLE_EDIT);
    EXPECT_EQ(send(edit, WM_GETFONT), send(list, WM_GETFONT));
    auto gone = [](HWND child) {  // the child with its own procedure back and no link
        auto* link = reinterpret_cast<SubclassLink*>(GetWindowLongPtrA(child, GWLP_USERDATA));
        return std::tuple(child, reinterpret_cast<LONG_PTR>(link->previous_proc), LONG_PTR{0});
    };
    const auto children = {gone(list), gone(edit)};
    DestroyWindow(table);
    for (const auto& child : children) {
        EXPECT_NE(std::find(hooks.destroyed.begin(), hooks.destroyed.end(), child), hooks.destroyed.end());
    }
}

}  // namespace
