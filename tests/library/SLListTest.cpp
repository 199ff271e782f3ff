// The owning list: who frees what, and the order operations.
#include <gtest/gtest.h>

#include <vector>

#include "library/SLList.h"

namespace {

// Records its destruction so the tests can see who freed what, and when.
struct Tracked {
  explicit Tracked(int id, std::vector<int>* log) : id(id), log(log) {}
  ~Tracked() { log->push_back(id); }
  int id;
  std::vector<int>* log;
};

std::vector<int> Ids(const TSLList<Tracked>& list) {
  std::vector<int> ids;
  for (Tracked* t : list) ids.push_back(t->id);
  return ids;
}

}  // namespace

TEST(SLList, OwningListFreesLastToFirstOnDestroyAndFirstToLastOnClear) {
  std::vector<int> freed;
  {
    TSLList<Tracked> list;
    for (int i = 0; i < 3; ++i) list.Add(new Tracked(i, &freed));
  }
  EXPECT_EQ(freed, (std::vector<int>{2, 1, 0}));

  freed.clear();
  TSLList<Tracked> list;
  for (int i = 0; i < 3; ++i) list.Add(new Tracked(i, &freed));
  list.Clear();
  EXPECT_EQ(freed, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0u);
}

TEST(SLList, NonOwningListClearsWithoutFreeingButRemoveStillFrees) {
  std::vector<int> freed;
  Tracked a(1, &freed), b(2, &freed);
  {
    TSLList<Tracked> list;
    list.OwnsObjects = false;
    list.Add(&a);
    list.Add(&b);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_TRUE(freed.empty());

    auto* c = new Tracked(3, &freed);
    list.Add(c);
    EXPECT_EQ(list.Remove(c), 0);
    EXPECT_EQ(freed, (std::vector<int>{3}));
    EXPECT_EQ(list.Count(), 0);
  }
  freed.clear();  // a and b go with the test's own frame
}

TEST(SLList, OrderOperations) {
  std::vector<int> freed;
  TSLList<Tracked> list;
  list.Insert(0, new Tracked(10, &freed));  // into an empty list
  EXPECT_EQ(list.Count(), 1);
  for (int i = 11; i <= 13; ++i) EXPECT_EQ(list.Add(new Tracked(i, &freed)), i - 10);
  EXPECT_EQ(list.Capacity(), 4u) << "Add keeps no spare slots";

  list.Move(0, list.Count() - 1);
  EXPECT_EQ(Ids(list), (std::vector<int>{11, 12, 13, 10}));
  list.Move(3, 1);
  EXPECT_EQ(Ids(list), (std::vector<int>{11, 10, 12, 13}));
  list.Insert(4, new Tracked(14, &freed));
  list.Insert(0, new Tracked(9, &freed));
  EXPECT_EQ(Ids(list), (std::vector<int>{9, 11, 10, 12, 13, 14}));

  Tracked* twelve = list[3];
  EXPECT_EQ(list.IndexOf(twelve), 3);
  EXPECT_EQ(list.Remove(twelve), 3);
  EXPECT_EQ(freed, (std::vector<int>{12}));
  EXPECT_EQ(list.Capacity(), 5u) << "Remove packs the list";
  EXPECT_EQ(list.IndexOf(twelve), -1);
}

TEST(SLList, IndexOutsideTheListIsAListError) {
  std::vector<int> freed;
  TSLList<Tracked> list;
  list.Add(new Tracked(1, &freed));
  EXPECT_THROW(list.Items(1), ESLListError);
  EXPECT_THROW(list.Items(-1), ESLListError);
  EXPECT_THROW(list.Move(0, 1), ESLListError);
  auto* orphan = new Tracked(2, &freed);
  EXPECT_THROW(list.Insert(2, orphan), ESLListError);
  delete orphan;
}
