#include "MapObjectTesting.h"

#include "document/CNetDoc.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawSegment.h"

#include <gtest/gtest.h>

using MapObjectTesting::ip;

namespace {

struct MaskCase {
    const char* address;
    const char* mask;
    int prefix;
    const char* network;
    const char* broadcast;

    friend void PrintTo(const MaskCase& c, std::ostream* os)
    {
        *os << c.address << " / " << c.mask;
    }
};

class SegmentMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(SegmentMask, DerivesPrefixNetworkAndBroadcast)
{
    const MaskCase& c = GetParam();
    CDrawSegment segment(Rect{});
    segment.m_dwAddress = ip(c.address);
    segment.SetMask(ip(c.mask));
    EXPECT_EQ(segment.m_dwMask, ip(c.mask));
    EXPECT_EQ(segment.m_nPrefix, c.prefix);
    EXPECT_EQ(segment.m_dwNetwork, ip(c.network));
    EXPECT_EQ(segment.m_dwBroadcast, ip(c.broadcast));
    EXPECT_EQ(segment.m_dwAddress, ip(c.address));
}

INSTANTIATE_TEST_SUITE_P(
    Masks, SegmentMask,
    ::testing::Values(MaskCase{"192.168.1.130", "255.255.255.128", 25, "192.168.1.128",
                               "192.168.1.255"},
                      MaskCase{"192.168.1.1", "255.255.255.0", 24, "192.168.1.0", "192.168.1.255"},
                      MaskCase{"10.1.2.3", "255.255.255.192", 26, "10.1.2.0", "10.1.2.63"},
                      MaskCase{"172.16.5.4", "255.240.0.0", 12, "172.16.0.0", "172.31.255.255"},
                      MaskCase{"10.0.0.1", "255.255.255.255", 32, "10.0.0.1", "10.0.0.1"},
                      // Only the leading ones count.
                      MaskCase{"10.20.30.40", "255.0.255.0", 8, "10.0.0.0", "10.255.255.255"},
                      MaskCase{"192.168.1.1", "0.0.0.0", 0, "0.0.0.0", "0.0.0.0"},
                      MaskCase{"192.168.1.1", "0.255.255.255", 0, "0.0.0.0", "0.0.0.0"}));

class SegmentLookup : public ::testing::Test {
protected:
    CDrawSegment* addSegment(const char* gateway, const char* mask)
    {
        auto* segment = new CDrawSegment(Rect{});
        doc.AddObject(segment);
        segment->m_dwAddress = ip(gateway);
        segment->SetMask(ip(mask));
        segment->SetOwner(&domain);
        domain.m_segments.append(segment);
        return segment;
    }

    CNetDoc doc;
    CDrawDomain domain{Rect{}};
};

TEST_F(SegmentLookup, NoSegmentsFindsNothing)
{
    EXPECT_EQ(domain.FindSegmentForAddress(ip("192.168.1.10")), nullptr);
}

struct LookupCase {
    const char* address;
    int segment; // index into the segments made below, -1 for none

    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.address; }
};

class SegmentLookupTable : public SegmentLookup,
                           public ::testing::WithParamInterface<LookupCase> {};

TEST_P(SegmentLookupTable, FirstSegmentStrictlyContainingTheAddress)
{
    const QList<CDrawSegment*> segments{
        addSegment("192.168.1.1", "255.255.255.0"),
        addSegment("0.0.0.0", "0.0.0.0"),
        addSegment("10.0.0.1", "255.0.0.0"),
        addSegment("10.1.0.1", "255.255.0.0"),
    };
    const LookupCase& c = GetParam();
    CDrawSegment* expected = c.segment < 0 ? nullptr : segments.at(c.segment);
    EXPECT_EQ(domain.FindSegmentForAddress(ip(c.address)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SegmentLookupTable,
    ::testing::Values(LookupCase{"192.168.1.77", 0}, LookupCase{"192.168.1.254", 0},
                      // Neither the network nor the broadcast address belongs to it.
                      LookupCase{"192.168.1.0", -1}, LookupCase{"192.168.1.255", -1},
                      LookupCase{"192.168.2.1", -1},
                      // Compared in host order: in network order this would fall
                      // between 192.168.1.0 and 192.168.1.255.
                      LookupCase{"10.0.0.5", 2}, LookupCase{"5.0.0.1", -1},
                      // The earlier of two overlapping segments wins.
                      LookupCase{"10.1.2.3", 2}, LookupCase{"0.0.0.1", -1}));

TEST(CDrawSegment, OwnerIsADomainOrNothing)
{
    CDrawSegment segment(Rect{});
    CDrawDomain domain(Rect{});
    CDrawObj plain(Rect{});
    segment.SetOwner(&domain);
    EXPECT_EQ(segment.GetOwner(), &domain);
    EXPECT_EQ(segment.m_pParent, nullptr);
    segment.SetOwner(&plain);
    EXPECT_EQ(segment.GetOwner(), nullptr);
    segment.SetOwner(&domain);
    segment.SetOwner(nullptr);
    EXPECT_EQ(segment.m_pOwner, nullptr);
}

TEST(CDrawSegment, CloneGoesToTheHeadWithoutMarkingTheDocument)
{
    CNetDoc doc;
    auto* owner = new CDrawDomain(Rect{});
    doc.AddObject(owner);
    auto* segment = new CDrawSegment(Rect{1, 2, 3, 4});
    doc.AddObject(segment);
    segment->m_strName = QStringLiteral("net");
    segment->m_wReserved = 3;
    segment->m_strNote = QStringLiteral("note");
    segment->m_pParent = owner;
    segment->m_pOwner = owner;
    segment->m_dwAddress = ip("192.168.1.1");
    segment->SetMask(ip("255.255.255.0"));
    segment->m_nSpacing = 77;
    doc.SetModifiedFlag(false);

    auto* copy = static_cast<CDrawSegment*>(segment->Clone(&doc));

    EXPECT_EQ(doc.m_objects.first(), copy);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(copy->m_pDocument, &doc);
    EXPECT_EQ(copy->m_position, segment->m_position);
    EXPECT_EQ(copy->m_nSpacing, 77);
    EXPECT_EQ(copy->m_strName, QStringLiteral("net"));
    EXPECT_EQ(copy->m_wReserved, 3);
    EXPECT_EQ(copy->m_strNote, QStringLiteral("note"));
    EXPECT_EQ(copy->m_pParent, nullptr);
    EXPECT_EQ(copy->m_pOwner, owner);
    EXPECT_FALSE(owner->m_segments.contains(copy));
    EXPECT_EQ(copy->m_dwAddress, segment->m_dwAddress);
    EXPECT_EQ(copy->m_dwMask, segment->m_dwMask);
    EXPECT_EQ(copy->m_dwNetwork, segment->m_dwNetwork);
    EXPECT_EQ(copy->m_nPrefix, 24);
    EXPECT_EQ(copy->m_dwBroadcast, segment->m_dwBroadcast);

    CDrawSegment* detached = static_cast<CDrawSegment*>(segment->Clone(nullptr));
    EXPECT_EQ(detached->m_pDocument, nullptr);
    EXPECT_FALSE(doc.m_objects.contains(detached));
    delete detached;
}

TEST(CDrawSegment, DestroyedSegmentLeavesItsOwnersList)
{
    CDrawDomain owner(Rect{});
    auto* segment = new CDrawSegment(Rect{});
    segment->SetOwner(&owner);
    owner.m_segments.append(segment);
    delete segment;
    EXPECT_TRUE(owner.m_segments.isEmpty());
}

} // namespace
