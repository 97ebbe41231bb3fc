#include "document/Archive.h"
#include "document/ArchiveException.h"
#include "document/CDWordArray.h"
#include "objects/CDrawObj.h"
#include "support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray stored(const std::function<void(Archive&)>& write)
{
    QByteArray out;
    {
        Archive ar(out);
        write(ar);
    }
    return out;
}

ArchiveException::Cause loadFailure(const QByteArray& bytes,
                                    const std::function<void(Archive&)>& read)
{
    Archive ar(bytes, nullptr);
    try {
        read(ar);
    } catch (const ArchiveException& e) {
        return e.cause();
    }
    ADD_FAILURE() << "load succeeded";
    return ArchiveException::Cause::Generic;
}

struct CountCase {
    quint64 count;
    QByteArray encoding;
};

void PrintTo(const CountCase& c, std::ostream* os)
{
    *os << "count " << c.count;
}

class CountEncoding : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountEncoding, WritesAndReadsBack)
{
    const CountCase& c = GetParam();
    const QByteArray bytes = stored([&](Archive& ar) { ar.writeCount(c.count); });
    EXPECT_EQ(bytes.toHex(), c.encoding.toHex());
    // Pad so that the count is not refused for lack of elements.
    QByteArray padded = bytes + QByteArray(qsizetype(c.count), '\0');
    Archive ar(padded, nullptr);
    EXPECT_EQ(ar.readCount(1), c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CountEncoding,
    ::testing::Values(CountCase{0, QByteArray::fromHex("0000")},
                      CountCase{0xFFFE, QByteArray::fromHex("feff")},
                      CountCase{0xFFFF, QByteArray::fromHex("ffffffff0000")},
                      CountCase{0x12345, QByteArray::fromHex("ffff45230100")}));

struct StringCase {
    qsizetype length;
    QByteArray prefix; // bytes before the characters
};

void PrintTo(const StringCase& c, std::ostream* os)
{
    *os << "length " << c.length;
}

class StringEncoding : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringEncoding, WideFormWithLengthPrefix)
{
    const StringCase& c = GetParam();
    const QString text(c.length, QChar(0x30A2)); // katakana A
    const QByteArray bytes = stored([&](Archive& ar) { ar.writeString(text); });
    ASSERT_EQ(bytes.size(), c.prefix.size() + 2 * c.length);
    EXPECT_EQ(bytes.left(c.prefix.size()).toHex(), c.prefix.toHex());
    Archive ar(bytes, nullptr);
    EXPECT_EQ(ar.readString(), text);
    EXPECT_TRUE(ar.atEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, StringEncoding,
    ::testing::Values(StringCase{0, QByteArray::fromHex("fffeff00")},
                      StringCase{254, QByteArray::fromHex("fffeff fe")},
                      StringCase{255, QByteArray::fromHex("fffeff ff ff00")},
                      StringCase{65533, QByteArray::fromHex("fffeff ff fdff")},
                      StringCase{65534, QByteArray::fromHex("fffeff ff ffff feff0000")},
                      StringCase{70000, QByteArray::fromHex("fffeff ff ffff 70110100")}));

TEST(ArchiveStrings, ReadsSingleByteForms)
{
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {QByteArray::fromHex("00"), QString()},
        {QByteArray("\x05" "HOST1", 6), QStringLiteral("HOST1")},
        // Shift-JIS, the code page of the files' origin: "テスト".
        {QByteArray::fromHex("06 8365 8358 8367"), QStringLiteral("テスト")},
        // A 300-byte string uses FF then a WORD length.
        {QByteArray::fromHex("ff2c01") + QByteArray(300, 'x'), QString(300, QLatin1Char('x'))},
    };
    for (const Case& c : cases) {
        Archive ar(c.bytes, nullptr);
        EXPECT_EQ(ar.readString(), c.text) << c.bytes.toHex().toStdString();
        EXPECT_TRUE(ar.atEnd());
    }
}

TEST(ArchiveObjects, SharedReferenceIsWrittenOnceThenByIndex)
{
    CDrawObj object(Rect{1, 2, 3, 4});
    const QByteArray bytes = stored([&](Archive& ar) {
        ar.writeObject(&object);
        ar.writeObject(&object);
        ar.writeObject(nullptr);
    });
    const QByteArray expected = ArchiveBytes()
                                    .newClass("CDrawObj")
                                    .drawObjRecord(1, 2, 3, 4)
                                    .word(2) // class took index 1, the object 2
                                    .word(0)
                                    .bytes();
    EXPECT_EQ(bytes.toHex(), expected.toHex());

    Archive ar(bytes, nullptr);
    Persistent* first = ar.readObject(&CDrawObj::StaticClass());
    EXPECT_EQ(ar.readObject(&CDrawObj::StaticClass()), first);
    EXPECT_EQ(ar.readObject(nullptr), nullptr);
    EXPECT_EQ(static_cast<CDrawObj*>(first)->m_position, (Rect{1, 2, 3, 4}));
}

TEST(ArchiveObjects, SecondObjectOfAClassUsesTheClassTag)
{
    CDWordArray a({1});
    CDWordArray b({2, 3});
    const QByteArray bytes = stored([&](Archive& ar) {
        ar.writeObject(&a);
        ar.writeObject(&b);
    });
    const QByteArray expected = ArchiveBytes()
                                    .newClass("CDWordArray")
                                    .word(1).dword(1)
                                    .word(0x8001)
                                    .word(2).dword(2).dword(3)
                                    .bytes();
    EXPECT_EQ(bytes.toHex(), expected.toHex());
}

TEST(ArchiveObjects, IndexesFromTheBigTagOnUseWordPlusDword)
{
    // 0x7FFF objects: the class is index 1, objects 2 .. 0x8000.
    std::vector<std::unique_ptr<CDWordArray>> arrays;
    for (int i = 0; i < 0x7FFF; ++i)
        arrays.push_back(std::make_unique<CDWordArray>());
    QByteArray bytes = stored([&](Archive& ar) {
        for (const auto& a : arrays)
            ar.writeObject(a.get());
        ar.writeObject(arrays[0x7FFC].get()); // index 0x7FFE: still one WORD
        ar.writeObject(arrays[0x7FFD].get()); // index 0x7FFF: the big form
    });
    EXPECT_EQ(bytes.right(8).toHex(), QByteArray::fromHex("fe7f ff7f ff7f0000").toHex());

    Archive ar(bytes, nullptr);
    std::vector<Persistent*> read;
    for (int i = 0; i < 0x7FFF; ++i)
        read.push_back(ar.readObject(nullptr));
    EXPECT_EQ(ar.readObject(nullptr), read[0x7FFC]);
    EXPECT_EQ(ar.readObject(nullptr), read[0x7FFD]);
    EXPECT_TRUE(ar.atEnd());
}

TEST(ArchiveObjects, BigClassTagIsRead)
{
    // A class reference in the WORD 0x7FFF + DWORD 0x80000000|index form.
    const QByteArray bytes = ArchiveBytes()
                                 .newClass("CDWordArray").word(0)
                                 .word(0x7FFF).dword(0x80000001).word(1).dword(7)
                                 .bytes();
    Archive ar(bytes, nullptr);
    ar.readObject(nullptr);
    auto* second = static_cast<CDWordArray*>(ar.readObject(nullptr));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->m_values, QList<quint32>{7});
}

struct FailureCase {
    const char* name;
    QByteArray bytes;
    ArchiveException::Cause cause;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class ObjectLoadFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ObjectLoadFailure, IsReported)
{
    const FailureCase& c = GetParam();
    EXPECT_EQ(loadFailure(c.bytes,
                          [](Archive& ar) {
                              ar.readObject(&CDrawObj::StaticClass());
                              ar.readObject(&CDrawObj::StaticClass());
                          }),
              c.cause);
}

using Cause = ArchiveException::Cause;

INSTANTIATE_TEST_SUITE_P(
    Tags, ObjectLoadFailure,
    ::testing::Values(
        FailureCase{"UnknownClass", ArchiveBytes().newClass("CDrawNothing").bytes(), Cause::BadClass},
        FailureCase{"SchemaNotZero", ArchiveBytes().newClass("CDrawObj", 1).bytes(), Cause::BadSchema},
        FailureCase{"ClassNameTooLong", ArchiveBytes().newClass(QByteArray(64, 'C')).bytes(),
                    Cause::BadClass},
        FailureCase{"IndexNamesNothing", ArchiveBytes().word(5).bytes(), Cause::BadClass},
        FailureCase{"ClassTagNamesNothing", ArchiveBytes().word(0x8003).bytes(), Cause::BadClass},
        FailureCase{"IndexNamesAClass",
                    ArchiveBytes().newClass("CDrawObj").drawObjRecord(0, 0, 1, 1).word(1).bytes(),
                    Cause::BadClass},
        FailureCase{"ClassTagNamesAnObject",
                    ArchiveBytes().newClass("CDrawObj").drawObjRecord(0, 0, 1, 1).word(0x8002).bytes(),
                    Cause::BadClass},
        FailureCase{"WrongClassWhereRequired", ArchiveBytes().newClass("CDWordArray").word(0).bytes(),
                    Cause::BadClass},
        FailureCase{"TruncatedClassName", ArchiveBytes().word(0xFFFF).word(0).word(8).raw("CDraw").bytes(),
                    Cause::EndOfFile},
        FailureCase{"TruncatedRecord", ArchiveBytes().newClass("CDrawObj").rect(0, 0, 1, 1).bytes(),
                    Cause::EndOfFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveCounts, CountBeyondTheInputIsRefusedBeforeAllocating)
{
    struct Case {
        QByteArray bytes;
        std::function<void(Archive&)> read;
    };
    const Case cases[] = {
        {ArchiveBytes().word(0xFFFF).dword(0xFFFFFFFE).bytes(),
         [](Archive& ar) { QList<quint32> v; ar.serialize(v); }},
        {ArchiveBytes().word(3).dword(1).dword(2).bytes(),
         [](Archive& ar) { QList<quint32> v; ar.serialize(v); }},
        {ArchiveBytes().word(0xFFFF).dword(0xFFFFFFFF).dword(0).dword(1).bytes(),
         [](Archive& ar) { QStringList v; ar.serialize(v); }},
        {ArchiveBytes().word(2).rect(0, 0, 1, 1).bytes(),
         [](Archive& ar) { QList<Rect> v; ar.serialize(v); }},
        // A wide string claiming 2^32 - 2 characters.
        {ArchiveBytes().byte(0xFF).word(0xFFFE).byte(0xFF).word(0xFFFF).dword(0xFFFFFFFE).bytes(),
         [](Archive& ar) { ar.readString(); }},
        // The 8-byte length form.
        {ArchiveBytes().byte(0xFF).word(0xFFFE).byte(0xFF).word(0xFFFF).dword(0xFFFFFFFF)
             .dword(0).dword(0x10).bytes(),
         [](Archive& ar) { ar.readString(); }},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loadFailure(c.bytes, c.read), Cause::EndOfFile) << c.bytes.toHex().toStdString();
}

TEST(ArchiveRaw, UncheckedBlockKeepsWhatIsMissing)
{
    const QByteArray bytes = QByteArray::fromHex("0102");
    Archive ar(bytes, nullptr);
    unsigned char block[4] = {9, 9, 9, 9};
    EXPECT_EQ(ar.readRawUnchecked(block, 4), 2);
    EXPECT_EQ(block[0], 1);
    EXPECT_EQ(block[1], 2);
    EXPECT_EQ(block[2], 9);
    EXPECT_THROW(ar.readByte(), ArchiveException);
}

} // namespace
