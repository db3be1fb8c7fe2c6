#include "elements/component_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "archive/archive.h"
#include "model/attributes.h"
#include "model/errors.h"

namespace tallyform::elements {
namespace {

std::unique_ptr<Element> Make(std::initializer_list<Element::Pair> pairs) {
  auto e = std::make_unique<Element>();
  for (const auto& [name, value] : pairs) e->Set(name, value);
  return e;
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Designators(const ComponentList& list) {
  std::string s;
  for (std::size_t i = 0; i < list.count(); ++i) s += std::string(list.at(i).Get(model::kRefDes)) + " ";
  return s;
}

ComponentList ListOf(std::initializer_list<const char*> designators) {
  ComponentList list;
  for (const char* d : designators) list.Append(Make({{std::string(model::kRefDes), d}}));
  return list;
}

TEST(ComponentListTest, InsertRemoveReplaceAndAppendKeepOrder) {
  ComponentList list = ListOf({"R1", "R3"});
  list.Insert(1, Make({{"RefDes", "R2"}}));
  list.Insert(3, Make({{"RefDes", "R4"}}));
  EXPECT_EQ(Designators(list), "R1 R2 R3 R4 ");

  Element* kept = &list.at(1);
  auto removed = list.Remove(1, 2);
  ASSERT_EQ(removed.size(), 2u);
  EXPECT_EQ(removed[0].get(), kept);  // handed over, not copied or deleted
  EXPECT_EQ(removed[1]->Get(model::kRefDes), "R3");
  EXPECT_EQ(Designators(list), "R1 R4 ");

  auto old = list.Replace(0, std::move(removed[0]));
  EXPECT_EQ(old->Get(model::kRefDes), "R1");
  EXPECT_EQ(Designators(list), "R2 R4 ");

  ComponentList other = ListOf({"C1", "C2"});
  Element* moved = &other.at(0);
  list.AppendList(std::move(other));
  EXPECT_EQ(Designators(list), "R2 R4 C1 C2 ");
  EXPECT_EQ(&list.at(2), moved);
  EXPECT_TRUE(other.empty());

  list.Clear();
  EXPECT_EQ(list.count(), 0u);
}

TEST(ComponentListTest, CopiesAreDeepAndIndependent) {
  ComponentList source = ListOf({"R1", "C2"});
  source.at(0).Set("Value", "");
  ComponentList copy;
  copy.Append(Make({{"RefDes", "stale"}}));
  copy.CopyFrom(source);
  EXPECT_EQ(copy, source);
  EXPECT_NE(&copy.at(0), &source.at(0));
  copy.at(0).Set("Value", "10k");
  copy.at(1).Remove("RefDes");
  EXPECT_EQ(source.at(0).Get("Value"), "");
  EXPECT_EQ(source.at(1).Get(model::kRefDes), "C2");

  ComponentList assigned = ListOf({"X"});
  assigned = source;
  EXPECT_EQ(assigned, source);
  ComponentList constructed(source);
  constructed.at(0).Set("RefDes", "R7");
  EXPECT_EQ(source.at(0).Get(model::kRefDes), "R1");

  copy.CopyFrom(ComponentList());
  EXPECT_TRUE(copy.empty());
}

// The bytes of two elements as a file holds them: the list has no tag of its own, its elements are
// string maps, the first introducing the class and the second naming it by number 1.
TEST(ComponentListArchiveTest, WritesTheFileLayoutByteForByte) {
  ComponentList list;
  list.Append(Make({{"RefDes", "R1"}, {"Value", ""}}));
  list.Append(Make({{"RefDes", "C2"}, {std::string(model::kQuantity), "1"}}));
  archive::ArchiveWriter w;
  list.Serialize(w);

  std::string expected = Bytes({2, 0, 0xff, 0xff, 0, 0, 18, 0}) + "CMapStringToString" + Bytes({2, 0, 6}) +
                         "RefDes" + Bytes({2}) + "R1" + Bytes({5}) + "Value" + Bytes({0}) +
                         Bytes({0x01, 0x80, 2, 0, 6}) + "RefDes" + Bytes({2}) + "C2" +
                         Bytes({10, 0xca, 0xee, 0xeb, 0xe8, 0xf7, 0xe5, 0xf1, 0xf2, 0xe2, 0xee, 1}) + "1";
  EXPECT_EQ(w.bytes(), expected);

  archive::ArchiveReader r(expected);
  ComponentList read;
  read.Deserialize(r);
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_EQ(read, list);
  ASSERT_NE(read.at(0).Find("Value"), nullptr);
  EXPECT_EQ(*read.at(0).Find("Value"), "");
}

TEST(ComponentListArchiveTest, ReadingAppendsAndReferencesBecomeOwnCopies) {
  // An element list whose second and third elements refer back to the first (object number 2).
  std::string bytes = Bytes({3, 0, 0xff, 0xff, 0, 0, 18, 0}) + "CMapStringToString" + Bytes({1, 0, 6}) +
                      "RefDes" + Bytes({2}) + "R1" + Bytes({2, 0, 0xff, 0x7f, 2, 0, 0, 0});
  archive::ArchiveReader r(bytes);
  ComponentList list = ListOf({"C9"});
  list.Deserialize(r);
  ASSERT_EQ(Designators(list), "C9 R1 R1 R1 ");
  list.at(2).Set("RefDes", "R2");
  EXPECT_EQ(Designators(list), "C9 R1 R2 R1 ");
}

TEST(ComponentListArchiveTest, DamagedListsLeaveTheListUnchanged) {
  const std::string map_tag = Bytes({0xff, 0xff, 0, 0, 18, 0}) + "CMapStringToString";
  const std::string one = map_tag + Bytes({1, 0, 1, 'a', 1, 'b'});
  const std::string cases[] = {
      Bytes({1, 0, 0, 0}),                                                            // null element
      Bytes({1, 0, 0xff, 0xff, 1, 0, 14, 0}) + "CComponentList",                      // another class
      Bytes({1, 0, 0xff, 0xff, 1, 0, 18, 0}) + "CMapStringToString" + Bytes({0, 0}),  // wrong schema
      Bytes({2, 0}) + one + Bytes({0x03, 0x00}),                        // reference to nothing yet
      Bytes({2, 0}) + one + Bytes({0x01, 0x00}),                        // reference to the class
      Bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0x7f}) + one,                // absurd count
      Bytes({1, 0}) + map_tag + Bytes({0xff, 0xff, 0xff, 0xff, 0, 0}),  // absurd pair count
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ComponentList list = ListOf({"R1"});
    archive::ArchiveReader r(cases[i]);
    EXPECT_THROW(list.Deserialize(r), DamagedFile) << i;
    EXPECT_EQ(Designators(list), "R1 ") << i;
  }
  // Every truncation of a valid list.
  ComponentList source = ListOf({"R1", "C2", "VD3"});
  archive::ArchiveWriter w;
  source.Serialize(w);
  for (std::size_t n = 0; n < w.bytes().size(); ++n) {
    ComponentList list;
    archive::ArchiveReader r(std::string_view(w.bytes()).substr(0, n));
    EXPECT_THROW(list.Deserialize(r), DamagedFile) << n;
    EXPECT_TRUE(list.empty());
  }
}

// A few bytes of references must not be able to copy a large element without bound.
TEST(ComponentListArchiveTest, RefusesReferencesThatCopyTooMuch) {
  ComponentList big;
  big.Append(Make({{"RefDes", std::string(100000, 'x')}}));
  archive::ArchiveWriter w;
  w.WriteCount(40);
  w.WriteObjectTag(archive::kStringMap);
  SerializeElement(w, big.at(0));
  for (int i = 1; i < 40; ++i) w.WriteU16(2);
  ComponentList list;
  archive::ArchiveReader r(w.bytes());
  EXPECT_THROW(list.Deserialize(r), DamagedFile);
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace tallyform::elements
