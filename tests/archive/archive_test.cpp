#include "archive/archive.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "model/errors.h"
#include "model/messages.h"
#include "text/literal.h"

namespace tallyform::archive {
namespace {

using namespace text::literals;

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

// Every failure of a damaged archive carries the one message the user sees.
template <typename Read>
void ExpectDamaged(Read read) {
  try {
    read();
    ADD_FAILURE() << "no error";
  } catch (const DamagedFile& e) {
    EXPECT_EQ(e.message(), model::kDamagedArchive);
  }
}

TEST(ArchiveScalarsTest, IntegersAndDoublesAreLittleEndian) {
  ArchiveWriter w;
  w.WriteU8(0xab);
  w.WriteU16(0x1234);
  w.WriteI32(-2);
  w.WriteU32(0xdeadbeef);
  w.WriteDouble(1.5);
  EXPECT_EQ(w.bytes(), Bytes({0xab, 0x34, 0x12, 0xfe, 0xff, 0xff, 0xff, 0xef, 0xbe, 0xad, 0xde,  //
                              0, 0, 0, 0, 0, 0, 0xf8, 0x3f}));
  ArchiveReader r(w.bytes());
  EXPECT_EQ(r.ReadU8(), 0xab);
  EXPECT_EQ(r.ReadU16(), 0x1234);
  EXPECT_EQ(r.ReadI32(), -2);
  EXPECT_EQ(r.ReadU32(), 0xdeadbeefu);
  EXPECT_EQ(r.ReadDouble(), 1.5);
  EXPECT_EQ(r.remaining(), 0u);
  ExpectDamaged([&] { r.ReadU8(); });
}

TEST(ArchiveCountTest, SixteenBitsBelowFfffThenTheLongForm) {
  struct Case {
    std::uint32_t n;
    std::string bytes;
  };
  const Case cases[] = {
      {0, Bytes({0, 0})},
      {0xfffe, Bytes({0xfe, 0xff})},
      {0xffff, Bytes({0xff, 0xff, 0xff, 0xff, 0, 0})},
      {0x12345, Bytes({0xff, 0xff, 0x45, 0x23, 1, 0})},
  };
  for (const auto& c : cases) {
    ArchiveWriter w;
    w.WriteCount(c.n);
    EXPECT_EQ(w.bytes(), c.bytes) << c.n;
    // Zero-byte items are counted as one byte each, so the count needs that many bytes behind it.
    std::string data = c.bytes + std::string(c.n, 'x');
    ArchiveReader r(data);
    EXPECT_EQ(r.ReadCount(1), c.n);
  }
}

TEST(ArchiveCountTest, RefusesCountsTheRemainingBytesCannotHold) {
  std::string data = Bytes({3, 0}) + std::string(6, 'x');
  EXPECT_EQ(ArchiveReader(data).ReadCount(2), 3u);
  ExpectDamaged([&] { ArchiveReader(data).ReadCount(3); });
  ExpectDamaged([&] { ArchiveReader(data.substr(0, 7)).ReadCount(2); });
  ExpectDamaged([] { ArchiveReader(Bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0xff})).ReadCount(0); });
  ExpectDamaged([] { ArchiveReader(Bytes({0xff, 0xff, 0xff})).ReadCount(1); });
}

TEST(ArchiveStringTest, LengthFormsAtTheirBoundaries) {
  struct Case {
    std::size_t length;
    std::string prefix;
  };
  const Case cases[] = {
      {0, Bytes({0})},
      {254, Bytes({254})},
      {255, Bytes({0xff, 0xff, 0})},
      {0xfffd, Bytes({0xff, 0xfd, 0xff})},
      {0xfffe, Bytes({0xff, 0xff, 0xff, 0xfe, 0xff, 0, 0})},
      {0x10000, Bytes({0xff, 0xff, 0xff, 0, 0, 1, 0})},
  };
  for (const auto& c : cases) {
    std::string s(c.length, 'a');
    if (!s.empty()) s.back() = "я"_cp[0];
    ArchiveWriter w;
    w.WriteString(s);
    EXPECT_EQ(w.bytes(), c.prefix + s) << c.length;
    ArchiveReader r(w.bytes());
    EXPECT_EQ(r.ReadString(), s) << c.length;
    EXPECT_EQ(r.remaining(), 0u);
  }
}

TEST(ArchiveStringTest, SixteenBitCharactersAreConvertedToTheCodePage) {
  // "Ом" followed by a character the code page lacks.
  std::string short_form = Bytes({0xff, 0xfe, 0xff, 3, 0x1e, 0x04, 0x3c, 0x04, 0x2d, 0x4e});
  EXPECT_EQ(ArchiveReader(short_form).ReadString(), "Ом?"_cp);

  // The length repeats in its longer forms too.
  std::string medium = Bytes({0xff, 0xfe, 0xff, 0xff, 0x00, 0x01});
  for (int i = 0; i < 256; ++i) medium += Bytes({'A', 0});
  EXPECT_EQ(ArchiveReader(medium).ReadString(), std::string(256, 'A'));
  std::string huge = Bytes({0xff, 0xfe, 0xff, 0xff, 0xff, 0xff, 2, 0, 0, 0, 'O', 0, 'K', 0});
  EXPECT_EQ(ArchiveReader(huge).ReadString(), "OK");

  ExpectDamaged([&] { ArchiveReader(short_form.substr(0, short_form.size() - 1)).ReadString(); });
}

TEST(ArchiveStringTest, RefusesLengthsBeyondTheData) {
  ExpectDamaged([] { ArchiveReader(Bytes({5, 'a', 'b'})).ReadString(); });
  ExpectDamaged([] { ArchiveReader(Bytes({0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 'a'})).ReadString(); });
  ExpectDamaged([] {
    ArchiveReader(Bytes({0xff, 0xfe, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff})).ReadString();
  });
  ExpectDamaged([] { ArchiveReader(Bytes({0xff, 0xfe})).ReadString(); });
}

TEST(ArchiveStringTest, ListsAppendAndMapsSetEachPair) {
  ArchiveWriter w;
  w.WriteStringList({"RefDes", "", std::string("ТУ"_cp)});
  w.WriteStringMap({{"a.sch", "X.1"}, {"b.sch", ""}});
  EXPECT_EQ(w.bytes().substr(0, 11), Bytes({3, 0, 6, 'R', 'e', 'f', 'D', 'e', 's', 0, 2}));

  ArchiveReader r(w.bytes());
  StringList list{"old"};
  r.ReadStringList(list);
  EXPECT_EQ(list, (StringList{"old", "RefDes", "", std::string("ТУ"_cp)}));
  StringMap map{{"a.sch", "replaced"}, {"c.sch", "kept"}};
  r.ReadStringMap(map);
  EXPECT_EQ(map, (StringMap{{"a.sch", "X.1"}, {"b.sch", ""}, {"c.sch", "kept"}}));
  EXPECT_EQ(r.remaining(), 0u);
}

// ---------------------------------------------------------------------------------------------------------
// Class tags

TEST(ArchiveTagTest, ClassesAndObjectsShareOneNumbering) {
  ArchiveWriter w;
  w.WriteObjectTag(kRow);  // class 1, object 2
  w.WriteObjectTag(kRow);  // object 3
  w.WriteNullTag();
  w.WriteObjectTag(kCell);  // class 4, object 5
  w.WriteObjectTag(kRow);   // object 6
  w.WriteObjectTag(kCell);  // object 7
  EXPECT_EQ(w.bytes(), Bytes({0xff, 0xff, 1, 0, 4, 0, 'C', 'R', 'o', 'w', 0x01, 0x80, 0,    0,  //
                              0xff, 0xff, 1, 0, 5, 0, 'C', 'C', 'e', 'l', 'l',  0x01, 0x80, 0x04, 0x80}));

  ArchiveReader r(w.bytes());
  const std::pair<ObjectTag::Kind, std::uint32_t> expected[] = {
      {ObjectTag::Kind::kNew, 2}, {ObjectTag::Kind::kNew, 3}, {ObjectTag::Kind::kNull, 0},
      {ObjectTag::Kind::kNew, 5}, {ObjectTag::Kind::kNew, 6}, {ObjectTag::Kind::kNew, 7}};
  const std::string_view names[] = {"CRow", "CRow", "", "CCell", "CRow", "CCell"};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    ObjectTag tag = r.ReadObjectTag({kRow, kCell});
    EXPECT_EQ(tag.kind, expected[i].first) << i;
    EXPECT_EQ(tag.object_index, expected[i].second) << i;
    EXPECT_EQ(tag.class_name, names[i]) << i;
  }
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ArchiveTagTest, BigFormsBeyond7ffeNumbers) {
  ArchiveWriter w;
  // Class 1 and objects 2 .. 0x8001; the next class takes 0x8002 and needs the 32-bit form.
  for (int i = 0; i < 0x8000; ++i) w.WriteObjectTag(kRow);
  w.WriteObjectTag(kCell);
  std::size_t before = w.bytes().size();
  w.WriteObjectTag(kCell);
  w.WriteObjectTag(kRow);
  EXPECT_EQ(w.bytes().substr(before), Bytes({0xff, 0x7f, 0x02, 0x80, 0, 0x80, 0x01, 0x80}));
  // Readers also meet references in both forms; the writer never makes them.
  w.WriteU16(0x7ffe);
  w.WriteU16(0x7fff);
  w.WriteU32(0x8001);

  ArchiveReader r(w.bytes());
  int marker = 0;
  for (int i = 0; i < 0x8000; ++i) {
    ObjectTag tag = r.ReadObjectTag({kRow});
    ASSERT_EQ(tag.kind, ObjectTag::Kind::kNew);
    ASSERT_EQ(tag.object_index, static_cast<std::uint32_t>(i + 2));
    r.RegisterObject(tag.object_index, &marker);
  }
  EXPECT_EQ(r.ReadObjectTag({kCell}).object_index, 0x8003u);
  ObjectTag big_class = r.ReadObjectTag({kCell});
  EXPECT_EQ(big_class.kind, ObjectTag::Kind::kNew);
  EXPECT_EQ(big_class.class_name, "CCell");
  EXPECT_EQ(big_class.object_index, 0x8004u);
  EXPECT_EQ(r.ReadObjectTag({kRow}).object_index, 0x8005u);
  for (std::uint32_t referred : {0x7ffeu, 0x8001u}) {
    ObjectTag ref = r.ReadObjectTag({kRow});
    EXPECT_EQ(ref.kind, ObjectTag::Kind::kReference);
    EXPECT_EQ(ref.class_name, "CRow");
    EXPECT_EQ(ref.object_index, referred);
    EXPECT_EQ(r.ReferencedObject(ref.object_index), &marker);
  }
}

TEST(ArchiveTagTest, ReferencesResolveToEarlierObjects) {
  ArchiveWriter w;
  w.WriteObjectTag(kElementName);  // class 1, object 2
  w.WriteObjectTag(kElementName);  // object 3
  w.WriteU16(3);
  w.WriteU16(2);
  ArchiveReader r(w.bytes());
  int first = 0;
  int second = 0;
  r.RegisterObject(r.ReadObjectTag({kElementName}).object_index, &first);
  r.RegisterObject(r.ReadObjectTag({kElementName}).object_index, &second);
  EXPECT_EQ(r.ReferencedObject(r.ReadObjectTag({kElementName}).object_index), &second);
  EXPECT_EQ(r.ReferencedObject(r.ReadObjectTag({kElementName}).object_index), &first);
}

TEST(ArchiveTagTest, RefusesTagsThatNameTheWrongThing) {
  const std::string row = Bytes({0xff, 0xff, 1, 0, 4, 0, 'C', 'R', 'o', 'w'});
  const std::string cases[] = {
      Bytes({0xff, 0xff, 1, 0, 7, 0, 'C', 'O', 'b', 'j', 'e', 'c', 't'}),  // unknown class
      Bytes({0xff, 0xff, 2, 0, 4, 0, 'C', 'R', 'o', 'w'}),                 // another schema
      Bytes({0xff, 0xff, 1, 0, 5, 0, 'C', 'C', 'e', 'l', 'l'}),            // a class not allowed here
      Bytes({0xff, 0xff, 1, 0, 40, 0, 'C', 'R', 'o', 'w'}),                // name beyond the data
      row + Bytes({0x02, 0x80}),                    // class tag naming an object number
      row + Bytes({0x01, 0x00}),                    // reference naming a class number
      row + Bytes({0x02, 0x00}),                    // reference to the object still being read
      row + Bytes({0x03, 0x00}),                    // reference to an object not read yet
      row + Bytes({0x05, 0x80}),                    // unknown class number
      row + Bytes({0xff, 0x7f, 0x01, 0, 0, 0}),     // big reference naming a class number
      row + Bytes({0xff, 0x7f, 0x09, 0, 0, 0x80}),  // big class tag beyond the numbers given
      row + Bytes({0xff, 0x7f, 0x00, 0, 0, 0x80}),  // class number 0
      row + Bytes({0xff, 0x7f, 0x02}),              // truncated big tag
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    ArchiveReader r(cases[i]);
    ExpectDamaged([&] {
      while (r.remaining() > 0) r.ReadObjectTag({kRow});
    });
  }
}

TEST(ArchiveTagTest, RefusesReferencesToObjectsOfClassesNotAllowed) {
  ArchiveWriter w;
  w.WriteObjectTag(kCell);
  w.WriteU16(2);
  ArchiveReader r(w.bytes());
  int cell = 0;
  r.RegisterObject(r.ReadObjectTag({kRow, kCell}).object_index, &cell);
  ExpectDamaged([&] { r.ReadObjectTag({kRow}); });
  ExpectDamaged([&] { r.ReferencedObject(1); });
  ExpectDamaged([&] { r.ReferencedObject(3); });
}

TEST(ArchiveTagTest, BoundsWhatReferencesMayCopy) {
  std::string small(100, 'x');
  ArchiveReader r(small);
  r.ChargeCopy(std::size_t{1} << 20);
  r.ChargeCopy(400);
  ExpectDamaged([&] { r.ChargeCopy(1); });
}

TEST(ArchiveDamageTest, EveryTruncationIsRefused) {
  ArchiveWriter w;
  w.WriteStringList({"RefDes", std::string(300, 'n')});
  w.WriteObjectTag(kTableRows);
  w.WriteCount(0x10000);
  w.WriteString(std::string(0x10000, 'v'));
  w.WriteDouble(2.5);
  w.WriteStringMap({{"k", "v"}});
  w.WriteObjectTag(kTableRows);
  w.WriteI32(7);
  const std::string full = w.bytes();
  auto read_all = [](std::string_view bytes) {
    ArchiveReader r(bytes);
    StringList list;
    r.ReadStringList(list);
    r.ReadObjectTag({kTableRows});
    r.ReadCount(1);
    r.ReadString();
    r.ReadDouble();
    StringMap map;
    r.ReadStringMap(map);
    r.ReadObjectTag({kTableRows});
    return r.ReadI32();
  };
  ASSERT_EQ(read_all(full), 7);
  for (std::size_t n = 0; n < full.size(); ++n) {
    if (n > 400 && n + 64 < full.size() && n % 251 != 0) continue;  // inside the long string, only samples
    SCOPED_TRACE(n);
    ExpectDamaged([&] { read_all(std::string_view(full).substr(0, n)); });
  }
}

}  // namespace
}  // namespace tallyform::archive
