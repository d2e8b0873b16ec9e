// Registration, creation (children, styles, failures) and destruction of the
// table window, observed through window hooks and a count of the records the
// table allocates.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <new>

#include <gtest/gtest.h>

#include "table_test_parent.h"

namespace {

// Heap records made with nothrow new (how the table allocates its records)
// while counting is on; a countdown can make the Nth one fail.
struct AllocationWatch {
    bool counting = false;
    int fail_at = 0;
    int made = 0;
    std::vector<void*> live;
};
AllocationWatch watch;

void start_watch(int fail_at = 0)
{
    watch = AllocationWatch{};
    watch.fail_at = fail_at;
    watch.counting = true;
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (watch.counting && watch.fail_at != 0 && ++watch.made == watch.fail_at)
        return nullptr;
    void* p = std::malloc(size ? size : 1);
    if (watch.counting && p)
        watch.live.push_back(p);
    return p;
}

void operator delete(void* p) noexcept
{
    auto it = std::find(watch.live.begin(), watch.live.end(), p);
    if (p && it != watch.live.end())
        watch.live.erase(it);
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

using namespace table_test;

struct Created {
    std::string class_name;
    DWORD style;
    INT_PTR id;
    HWND parent;
};
struct Destroyed {
    HWND window;
    LONG_PTR proc_after;       // the window's procedure once its WM_DESTROY is handled
    LONG_PTR user_data_after;
};

// Records the windows created on this thread (refusing those of class
// `refuse`) and the state of each window after its WM_DESTROY.
struct WindowHooks {
    WindowHooks()
    {
        self = this;
        cbt = SetWindowsHookExA(WH_CBT, on_cbt, nullptr, GetCurrentThreadId());
        ret = SetWindowsHookExA(WH_CALLWNDPROCRET, on_return, nullptr, GetCurrentThreadId());
    }
    ~WindowHooks()
    {
        UnhookWindowsHookEx(cbt);
        UnhookWindowsHookEx(ret);
        self = nullptr;
    }
    static LRESULT CALLBACK on_cbt(int code, WPARAM wparam, LPARAM lparam)
    {
        if (code == HCBT_CREATEWND && self) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lparam)->lpcs;
            std::string name = HIWORD(reinterpret_cast<UINT_PTR>(cs->lpszClass)) ? cs->lpszClass : "#atom";
            self->created.push_back({name, static_cast<DWORD>(cs->style), reinterpret_cast<INT_PTR>(cs->hMenu),
                                     cs->hwndParent});
            if (lstrcmpiA(name.c_str(), self->refuse.c_str()) == 0)
                return 1;
        }
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    static LRESULT CALLBACK on_return(int code, WPARAM wparam, LPARAM lparam)
    {
        const auto* r = reinterpret_cast<CWPRETSTRUCT*>(lparam);
        if (code == HC_ACTION && self && r->message == WM_DESTROY)
            self->destroyed.push_back({r->hwnd, GetWindowLongPtrA(r->hwnd, GWLP_WNDPROC),
                                       GetWindowLongPtrA(r->hwnd, GWLP_USERDATA)});
        return CallNextHookEx(nullptr, code, wparam, lparam);
    }
    HHOOK cbt, ret;
    std::string refuse;
    std::vector<Created> created;
    std::vector<Destroyed> destroyed;
    static inline WindowHooks* self = nullptr;
};

TEST(TableLifecycle, the_class_is_registered_once_and_a_failed_registration_is_retried)
{
    // A class of the same name held by someone else makes registration fail.
    if (table_class_atom != 0) {
        ASSERT_TRUE(UnregisterClassA(WC_TAVETABLE, GetModuleHandleA(nullptr)));
        table_class_atom = 0;
    }
    WNDCLASSA blocker{};
    blocker.style = CS_GLOBALCLASS;
    blocker.lpfnWndProc = DefWindowProcA;
    blocker.hInstance = GetModuleHandleA(nullptr);
    blocker.lpszClassName = WC_TAVETABLE;
    ASSERT_NE(RegisterClassA(&blocker), 0);
    EXPECT_EQ(register_table_class(), 0);
    EXPECT_EQ(table_class_atom, 0);
    ASSERT_TRUE(UnregisterClassA(WC_TAVETABLE, GetModuleHandleA(nullptr)));

    const ATOM atom = register_table_class();
    ASSERT_NE(atom, 0);
    EXPECT_EQ(register_table_class(), atom);
    EXPECT_EQ(table_class_atom, atom);
    WNDCLASSA info{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), WC_TAVETABLE, &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_GLOBALCLASS));
    EXPECT_EQ(info.cbWndExtra, 4);
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.hbrBackground, nullptr);
    EXPECT_EQ(info.lpfnWndProc, table_window_proc);
}

TEST(TableLifecycle, creation_makes_the_list_view_then_the_hidden_editor_both_subclassed)
{
    TestParent parent;
    WindowHooks hook;
    HWND table = parent.create_table();
    ASSERT_NE(table, nullptr);
    // The table's own children, in creation order (the list view makes a header of its own).
    std::vector<Created> children;
    std::copy_if(hook.created.begin(), hook.created.end(), std::back_inserter(children),
                 [&](const Created& c) { return c.parent == table; });
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0].class_name, "SysListView32");
    EXPECT_EQ(children[0].style, 0x54200001u);
    EXPECT_EQ(children[0].id, IDC_TABLE_LIST);
    EXPECT_EQ(children[1].class_name, "EDIT");
    EXPECT_EQ(children[1].style, 0x44800080u);
    EXPECT_EQ(children[1].id, IDC_TABLE_EDIT);

    HWND list_view = GetDlgItem(table, IDC_TABLE_LIST);
    HWND editor = GetDlgItem(table, IDC_TABLE_EDIT);
    EXPECT_EQ(GetWindowLongPtrA(list_view, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(list_subclass_proc));
    EXPECT_EQ(GetWindowLongPtrA(editor, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(edit_subclass_proc));
    EXPECT_FALSE(IsWindowVisible(editor));
    EXPECT_EQ(SendMessageA(editor, WM_GETFONT, 0, 0), SendMessageA(list_view, WM_GETFONT, 0, 0));
    EXPECT_EQ((std::vector<LRESULT>{send(list_view, LVM_GETBKCOLOR), send(list_view, LVM_GETTEXTCOLOR),
                                    send(list_view, LVM_GETTEXTBKCOLOR)}),
              (std::vector<LRESULT>{0xFFFFFF, 0, 0xFFFFFF}));

    const TableState* s = table_state_of(table);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ((std::vector<HWND>{s->window, s->list_view, s->edit_window}),
              (std::vector<HWND>{table, list_view, editor}));
    EXPECT_EQ((std::vector<int>{s->current_row, s->edit_row, s->column_count}), (std::vector<int>{0, -1, 0}));
    EXPECT_EQ((std::vector<COLORREF>{s->list_back_color, s->plain_text_color, s->plain_back_color,
                                     s->marked_text_color, s->marked_back_color, s->current_text_color,
                                     s->current_back_color, s->current_marked_text_color,
                                     s->current_marked_back_color, static_cast<COLORREF>(s->draw_edge), s->edge_type,
                                     s->edge_flags}),
              (std::vector<COLORREF>{0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFF00, 0, 0x00FFFF, 0, 0x00FF00, 1, 2, 15}));
}

TEST(TableLifecycle, a_failed_allocation_or_list_view_refuses_creation_and_leaks_nothing)
{
    TestParent parent;
    for (int fail_at = 1; fail_at <= 3; ++fail_at) {
        start_watch(fail_at);
        HWND table = parent.create_table();
        watch.counting = false;
        EXPECT_EQ(table, nullptr) << fail_at;
        EXPECT_TRUE(watch.live.empty()) << fail_at;
    }

    WindowHooks hook;
    hook.refuse = "SysListView32";
    start_watch();
    HWND table = parent.create_table();
    watch.counting = false;
    EXPECT_EQ(table, nullptr);
    EXPECT_TRUE(watch.live.empty());
    EXPECT_EQ(GetWindow(parent.window, GW_CHILD), nullptr);

    // Without a list view refusal the same parent gets its table.
    hook.refuse.clear();
    EXPECT_NE(parent.create_table(), nullptr);
}

TEST(TableLifecycle, destruction_gives_each_child_its_procedure_back_and_releases_every_record)
{
    TestParent parent;
    start_watch();
    HWND table = parent.create_table();
    watch.counting = false;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(watch.live.size(), 3u);  // the state and two links

    HWND children[] = {GetDlgItem(table, IDC_TABLE_LIST), GetDlgItem(table, IDC_TABLE_EDIT)};
    LONG_PTR originals[2];
    for (int i = 0; i < 2; ++i)
        originals[i] = reinterpret_cast<LONG_PTR>(
            reinterpret_cast<SubclassLink*>(GetWindowLongPtrA(children[i], GWLP_USERDATA))->previous_proc);

    WindowHooks hook;
    watch.counting = true;
    DestroyWindow(table);
    watch.counting = false;
    EXPECT_TRUE(watch.live.empty());
    for (int i = 0; i < 2; ++i) {
        auto seen = std::find_if(hook.destroyed.begin(), hook.destroyed.end(),
                                 [&](const Destroyed& d) { return d.window == children[i]; });
        ASSERT_NE(seen, hook.destroyed.end()) << i;
        EXPECT_EQ(seen->proc_after, originals[i]) << i;
        EXPECT_EQ(seen->user_data_after, 0) << i;
    }
}

}  // namespace
