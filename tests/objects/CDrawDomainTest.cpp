#include "MapObjectTesting.h"

#include "document/CNetDoc.h"
#include "objects/CDrawDomain.h"
#include "objects/CDrawSegment.h"
#include "objects/CDrawSys.h"
#include "support/FakeDrawView.h"

#include <gtest/gtest.h>

using MapObjectTesting::Counted;
using MapObjectTesting::destroyed;

namespace {

class DomainTest : public ::testing::Test {
protected:
    void SetUp() override { destroyed().clear(); }

    template <class T>
    Counted<T>* add(const Rect& r = Rect{})
    {
        auto* object = new Counted<T>(r);
        doc.AddObject(object);
        return object;
    }

    Counted<CDrawDomain>* addDomain(CDrawDomain* parent = nullptr)
    {
        auto* domain = add<CDrawDomain>();
        if (parent) {
            domain->SetOwner(parent);
            parent->AddSubDomain(domain);
        }
        return domain;
    }

    Counted<CDrawSys>* addSystem(CDrawObj* owner)
    {
        auto* system = add<CDrawSys>(Rect{0, 0, 140, 180});
        system->SetOwner(owner);
        if (owner && owner->IsKindOf(CDrawSys::StaticClass()))
            owner->AddSubSystem(system);
        else if (owner)
            owner->AddSystem(system);
        return system;
    }

    Counted<CDrawSegment>* addSegment(CDrawDomain* owner)
    {
        auto* segment = add<CDrawSegment>();
        segment->SetOwner(owner);
        owner->m_segments.append(segment);
        return segment;
    }

    void removeAndDelete(CDrawObj* object)
    {
        doc.RemoveObject(object, &view);
        object->Remove();
    }

    // Every listed object destroyed exactly once, nothing else destroyed.
    void expectDestroyedOnce(const QList<const CDrawObj*>& objects)
    {
        for (const CDrawObj* object : objects)
            EXPECT_EQ(destroyed().value(object), 1) << "object " << objects.indexOf(object);
        EXPECT_EQ(destroyed().size(), objects.size());
    }

    CNetDoc doc;
    FakeDrawView view;
};

TEST_F(DomainTest, DeletingADomainDeletesWhatItOwnsOnce)
{
    auto* unrelated = add<CDrawObj>();
    auto* domain = addDomain();
    auto* segment = addSegment(domain);
    auto* system = addSystem(domain);
    auto* printer = addSystem(system);
    auto* label = add<CDrawObj>();
    system->AddLabel(label);
    auto* child = addDomain(domain);
    auto* childSystem = addSystem(child);
    auto* childSegment = addSegment(child);
    view.selected = {domain, unrelated};

    removeAndDelete(domain);

    EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{unrelated}));
    EXPECT_EQ(view.selected, (QList<CDrawObj*>{unrelated}));
    expectDestroyedOnce(
        {domain, segment, system, printer, label, child, childSystem, childSegment});
}

struct SharedCase {
    const char* name;
    bool ownedByDeleted; // the system's owner pointer names the domain deleted

    friend void PrintTo(const SharedCase& c, std::ostream* os) { *os << c.name; }
};

class SharedSystem : public DomainTest, public ::testing::WithParamInterface<SharedCase> {};

TEST_P(SharedSystem, SystemInTwoDomainsIsDeletedOnceAndForgotten)
{
    auto* first = addDomain();
    auto* second = addDomain();
    auto* system = addSystem(GetParam().ownedByDeleted ? first : second);
    (GetParam().ownedByDeleted ? second : first)->AddSystem(system);

    removeAndDelete(first);

    EXPECT_TRUE(second->m_systems.isEmpty());
    EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{second}));
    expectDestroyedOnce({first, system});
    doc.DeleteAllObjects();
    expectDestroyedOnce({first, system, second});
}

INSTANTIATE_TEST_SUITE_P(Owners, SharedSystem,
                         ::testing::Values(SharedCase{"OwnedByTheDeletedDomain", true},
                                           SharedCase{"OwnedByTheOtherDomain", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DomainTest, DeleteAllObjectsSurvivesSharingAndCycles)
{
    auto* a = addDomain();
    auto* b = addDomain(a);
    a->SetOwner(b);
    b->AddSubDomain(a);
    auto* system = addSystem(a);
    b->AddSystem(system);
    system->AddSubSystem(system);
    system->AddLabel(b);
    auto* self = addDomain();
    self->AddSubDomain(self);
    self->AddSystem(system);
    auto* twice = addSegment(self);
    self->m_segments.append(twice);
    a->m_systems.append(twice);

    doc.DeleteAllObjects();

    EXPECT_TRUE(doc.m_objects.isEmpty());
    expectDestroyedOnce({a, b, system, self, twice});
}

TEST_F(DomainTest, DeletedSubDomainLeavesItsParent)
{
    auto* parent = addDomain();
    auto* child = addDomain(parent);
    removeAndDelete(child);
    EXPECT_TRUE(parent->m_subDomains.isEmpty());
    EXPECT_EQ(doc.m_objects, (QList<CDrawObj*>{parent}));
}

TEST_F(DomainTest, SurvivorsForgetADeletedDomain)
{
    auto* domain = addDomain();
    auto* other = addDomain();
    // Each names the domain without being listed by it.
    auto* system = add<CDrawSys>();
    system->SetOwner(domain);
    other->AddSystem(system);
    auto* child = add<CDrawDomain>();
    child->SetOwner(domain);
    auto* segment = add<CDrawSegment>();
    segment->SetOwner(domain);
    other->m_domainReserve.m_aobjLists[4].append(domain);
    doc.m_reserve.m_aobjLists[2].append(domain);

    removeAndDelete(domain);

    EXPECT_EQ(system->m_pOwnerDomain, nullptr);
    EXPECT_EQ(system->GetOwner(), nullptr);
    EXPECT_EQ(child->m_pParent, nullptr);
    EXPECT_EQ(segment->m_pOwner, nullptr);
    EXPECT_TRUE(std::as_const(other->m_domainReserve.m_aobjLists)[4].isEmpty());
    EXPECT_TRUE(std::as_const(doc.m_reserve.m_aobjLists)[2].isEmpty());
    EXPECT_EQ(other->m_systems, (QList<CDrawObj*>{system}));
    expectDestroyedOnce({domain});
}

TEST_F(DomainTest, DeepTreeIsDeletedWithoutRecursion)
{
    // Far deeper than a thread's stack could hold as nested destructor calls.
    constexpr int kDepth = 200000;
    CDrawDomain* root = addDomain();
    CDrawDomain* parent = root;
    for (int i = 0; i < kDepth; ++i)
        parent = addDomain(parent);

    removeAndDelete(root);

    EXPECT_TRUE(doc.m_objects.isEmpty());
    EXPECT_EQ(destroyed().size(), kDepth + 1);
}

TEST_F(DomainTest, NullEntriesAreSkipped)
{
    auto* domain = addDomain();
    domain->m_systems.append(nullptr);
    domain->m_segments.append(nullptr);
    domain->m_subDomains.append(nullptr);
    removeAndDelete(domain);
    expectDestroyedOnce({domain});
}

TEST_F(DomainTest, Accessors)
{
    CDrawDomain domain(Rect{});
    domain.SetName(QStringLiteral("EXAMPLE"));
    domain.SetNote(QStringLiteral("メモ"));
    domain.SetReservedWord(0xBEEF);
    EXPECT_EQ(domain.GetName(), QStringLiteral("EXAMPLE"));
    EXPECT_EQ(domain.GetNote(), QStringLiteral("メモ"));
    EXPECT_EQ(domain.GetReservedWord(), 0xBEEF);

    CDrawDomain parent(Rect{});
    CDrawSys system(Rect{});
    CDrawObj plain(Rect{});
    domain.SetOwner(&parent);
    EXPECT_EQ(domain.GetOwner(), &parent);
    domain.SetOwner(&system);
    EXPECT_EQ(domain.GetOwner(), &system);
    domain.SetOwner(&plain);
    EXPECT_EQ(domain.GetOwner(), nullptr);
}

TEST_F(DomainTest, MembersAreAppendedAndFoundIgnoringAsciiCase)
{
    auto* forest = addDomain();
    auto* first = addDomain();
    first->SetName(QStringLiteral("EXAMPLE"));
    auto* second = addDomain();
    second->SetName(QStringLiteral("WorkGroup"));
    auto* accented = addDomain();
    accented->SetName(QStringLiteral("É"));
    forest->AddSubDomain(first);
    forest->AddSubDomain(second);
    forest->AddSubDomain(accented);
    EXPECT_EQ(forest->m_subDomains, (QList<CDrawObj*>{first, second, accented}));

    EXPECT_EQ(forest->FindSubDomainByName(QStringLiteral("workgroup")), second);
    EXPECT_EQ(forest->FindSubDomainByName(QStringLiteral("example")), first);
    // Only A to Z fold.
    EXPECT_EQ(forest->FindSubDomainByName(QStringLiteral("é")), nullptr);
    EXPECT_EQ(forest->FindSubDomainByName(QStringLiteral("ＷＯＲＫＧＲＯＵＰ")), nullptr);
    EXPECT_EQ(forest->FindSubDomainByName(QStringLiteral("WORKGROUPS")), nullptr);

    auto* a = addSystem(forest);
    addSystem(forest);
    // Every key is empty, so the empty key names the first system.
    EXPECT_EQ(forest->FindSystemByKey(QString()), a);
    EXPECT_EQ(forest->FindSystemByKey(QStringLiteral("host")), nullptr);
}

TEST_F(DomainTest, CloneCopiesTheTreeIntoTheDocument)
{
    auto* forest = addDomain();
    auto* domain = addDomain(forest);
    domain->SetName(QStringLiteral("EXAMPLE"));
    domain->SetNote(QStringLiteral("note"));
    domain->SetReservedWord(9);
    domain->m_nSpacing = 321;
    auto* child = addDomain(domain);
    child->SetName(QStringLiteral("CHILD"));
    auto* system = addSystem(domain);
    system->m_strFqdn = QStringLiteral("pc1.example");
    auto* segment = addSegment(domain);
    segment->m_dwAddress = MapObjectTesting::ip("10.0.0.1");
    const qsizetype before = doc.m_objects.size();

    auto* copy = static_cast<CDrawDomain*>(domain->Clone(&doc));

    EXPECT_EQ(doc.m_objects.size(), before + 4);
    EXPECT_TRUE(doc.m_objects.contains(copy));
    EXPECT_EQ(copy->GetName(), QStringLiteral("EXAMPLE"));
    EXPECT_EQ(copy->GetNote(), QStringLiteral("note"));
    EXPECT_EQ(copy->GetReservedWord(), 9);
    EXPECT_EQ(copy->m_nSpacing, 321);
    EXPECT_EQ(copy->m_pParent, forest);
    EXPECT_EQ(forest->m_subDomains, (QList<CDrawObj*>{domain}));

    ASSERT_EQ(copy->m_subDomains.size(), 1);
    auto* childCopy = static_cast<CDrawDomain*>(copy->m_subDomains.first());
    EXPECT_NE(childCopy, child);
    EXPECT_EQ(childCopy->GetName(), QStringLiteral("CHILD"));
    EXPECT_EQ(childCopy->m_pParent, copy);

    ASSERT_EQ(copy->m_systems.size(), 1);
    auto* systemCopy = static_cast<CDrawSys*>(copy->m_systems.first());
    EXPECT_EQ(systemCopy->m_strFqdn, QStringLiteral("pc1.example"));
    EXPECT_EQ(systemCopy->m_pOwnerDomain, copy);
    EXPECT_EQ(systemCopy->GetOwner(), copy);

    ASSERT_EQ(copy->m_segments.size(), 1);
    auto* segmentCopy = static_cast<CDrawSegment*>(copy->m_segments.first());
    EXPECT_EQ(segmentCopy->m_dwAddress, MapObjectTesting::ip("10.0.0.1"));
    EXPECT_EQ(segmentCopy->m_pOwner, copy);

    // The original keeps exactly its own members.
    EXPECT_EQ(domain->m_subDomains, (QList<CDrawObj*>{child}));
    EXPECT_EQ(domain->m_systems, (QList<CDrawObj*>{system}));
    EXPECT_EQ(domain->m_segments, (QList<CDrawObj*>{segment}));

    destroyed().clear();
    removeAndDelete(domain);
    EXPECT_EQ(destroyed().size(), 4);
    EXPECT_TRUE(doc.m_objects.contains(systemCopy));
}

TEST_F(DomainTest, CloneOfManySystemsKeepsBothListsWhole)
{
    // Each cloned system files itself with the original domain for a moment,
    // which grows the list being copied.
    auto* domain = addDomain();
    QList<CDrawObj*> systems;
    for (int i = 0; i < 100; ++i)
        systems.append(addSystem(domain));

    auto* copy = static_cast<CDrawDomain*>(domain->Clone(&doc));

    EXPECT_EQ(domain->m_systems, systems);
    ASSERT_EQ(copy->m_systems.size(), 100);
    for (CDrawObj* system : std::as_const(copy->m_systems)) {
        EXPECT_FALSE(systems.contains(system));
        EXPECT_EQ(system->GetOwner(), copy);
    }
}

TEST_F(DomainTest, CloneOfACycleEnds)
{
    auto* a = addDomain();
    auto* b = addDomain(a);
    b->AddSubDomain(a);
    auto* system = addSystem(a);
    system->AddSubSystem(system);

    auto* copy = static_cast<CDrawDomain*>(a->Clone(&doc));

    ASSERT_EQ(copy->m_subDomains.size(), 1);
    auto* bCopy = static_cast<CDrawDomain*>(copy->m_subDomains.first());
    EXPECT_TRUE(bCopy->m_subDomains.isEmpty());
    ASSERT_EQ(copy->m_systems.size(), 1);
    EXPECT_TRUE(static_cast<CDrawSys*>(copy->m_systems.first())->m_subSystems.isEmpty());
    EXPECT_EQ(doc.m_objects.size(), 6);
}

} // namespace
