// The map behind USER handles: handles from a range of their own, never given out twice, and
// objects destroyed outside the map's lock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/common/handle_map.h"
#include "platform/win32.h"

namespace {

using win32::HandleMap;
using Strings = HandleMap<HMENU, std::string>;

std::uintptr_t Value(HMENU handle) { return reinterpret_cast<std::uintptr_t>(handle); }
HMENU Handle(std::uintptr_t value) { return reinterpret_cast<HMENU>(value); }
std::unique_ptr<std::string> Text(const char* text) { return std::make_unique<std::string>(text); }

TEST(HandleMap, HandlesCountUpFromTheFirstValueByTheStep) {
  struct Case {
    std::uintptr_t first, step;
    std::vector<std::uintptr_t> expected;
  } cases[] = {
      {0x10010, 2, {0x10010, 0x10012, 0x10014}},
      {0x30010, 2, {0x30010, 0x30012, 0x30014}},
      {100, 7, {100, 107, 114}},
  };
  for (const Case& c : cases) {
    Strings map(c.first, c.step);
    std::vector<std::uintptr_t> given;
    for (const char* text : {"a", "b", "c"}) given.push_back(Value(map.Add(Text(text))));
    EXPECT_EQ(given, c.expected) << c.first;
  }
}

TEST(HandleMap, FindsLiveObjectsOnly) {
  Strings map(0x50010, 2);
  HMENU a = map.Add(Text("a"));
  HMENU b = map.Add(Text("b"));
  ASSERT_NE(map.Find(a), nullptr);
  EXPECT_EQ(*map.Find(a), "a");
  EXPECT_EQ(*map.Find(b), "b");
  // The object stays where it is while others come and go.
  std::string* whereA = map.Find(a);
  for (int i = 0; i < 100; ++i) map.Add(Text("more"));
  EXPECT_TRUE(map.Remove(b));
  EXPECT_EQ(map.Find(a), whereA);

  for (HMENU unknown : {Handle(0), b, Handle(0x50011), Handle(0x50010 + 2 * 200), Handle(0x10010)})
    EXPECT_EQ(map.Find(unknown), nullptr) << Value(unknown);
}

TEST(HandleMap, ARemovedHandleIsNeverGivenAgain) {
  Strings map(0x10, 2);
  HMENU first = map.Add(Text("first"));
  EXPECT_TRUE(map.Remove(first));
  EXPECT_FALSE(map.Remove(first));
  HMENU second = map.Add(Text("second"));
  EXPECT_NE(second, first);
  EXPECT_EQ(map.Find(first), nullptr);
  EXPECT_EQ(*map.Find(second), "second");
  EXPECT_FALSE(map.Remove(nullptr));
}

TEST(HandleMap, HandlesListsTheLiveOnesOldestFirst) {
  Strings map(0x30010, 2);
  std::vector<HMENU> added;
  for (const char* text : {"a", "b", "c", "d", "e"}) added.push_back(map.Add(Text(text)));
  map.Remove(added[1]);
  map.Remove(added[3]);
  HMENU late = map.Add(Text("f"));
  EXPECT_EQ(map.Handles(), (std::vector<HMENU>{added[0], added[2], added[4], late}));
}

TEST(HandleMap, ReadGivesWhatTheReaderReturnsOrNothing) {
  Strings map(0x10, 2);
  HMENU h = map.Add(Text("hello"));
  EXPECT_EQ(map.Read(h, [](const std::string& s) { return s.size(); }), std::optional<std::size_t>(5));
  // A reader may change the object.
  map.Read(h, [](std::string& s) {
    s += "!";
    return true;
  });
  EXPECT_EQ(*map.Find(h), "hello!");
  bool called = false;
  auto missing = map.Read(Handle(0x12), [&](const std::string& s) {
    called = true;
    return s;
  });
  EXPECT_FALSE(missing.has_value());
  EXPECT_FALSE(called);
}

// An object whose destructor uses the map it lived in, as a window's does through the
// window functions.
struct Reentrant {
  using Map = HandleMap<HWND, Reentrant>;
  Reentrant(Map& map, std::vector<HWND>& seen) : map(map), seen(seen) {}
  ~Reentrant() { seen = map.Handles(); }
  Map& map;
  std::vector<HWND>& seen;
};

TEST(HandleMap, AnObjectIsDestroyedAfterTheMapIsUnlocked) {
  auto map = std::make_unique<Reentrant::Map>(0x10010, 2);
  std::vector<HWND> seen;
  HWND keep = map->Add(std::make_unique<Reentrant>(*map, seen));
  HWND doomed = map->Add(std::make_unique<Reentrant>(*map, seen));
  // Were the destructor run under the lock, it would wait for itself: give it a while.
  std::promise<bool> removed;
  std::future<bool> result = removed.get_future();
  std::thread([&map = *map, doomed, done = std::move(removed)]() mutable { done.set_value(map.Remove(doomed)); })
      .detach();
  if (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    map.release();  // still locked by the stuck thread: left alone
    FAIL() << "Remove deadlocked";
  }
  EXPECT_TRUE(result.get());
  // The destructor saw the map without its own handle.
  EXPECT_EQ(seen, std::vector<HWND>{keep});
  map->Remove(keep);
}

TEST(HandleMap, ThreadsAddingAtOnceGetDistinctHandles) {
  Strings map(0x10010, 2);
  constexpr int kThreads = 4, kEach = 500;
  std::vector<std::vector<HMENU>> given(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) given[t].push_back(map.Add(Text("x")));
    });
  for (std::thread& thread : threads) thread.join();
  std::set<HMENU> distinct;
  for (const auto& handles : given) distinct.insert(handles.begin(), handles.end());
  EXPECT_EQ(distinct.size(), std::size_t{kThreads * kEach});
  EXPECT_EQ(map.Handles().size(), std::size_t{kThreads * kEach});
  EXPECT_EQ(Value(*distinct.rbegin()), 0x10010u + 2 * (kThreads * kEach - 1));
}

}  // namespace
