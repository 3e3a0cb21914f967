// Creation and opening of the law tables.
#include "store/Houjin.h"

namespace store {

namespace {

// Component name prefixes of the six law volumes; volume 3's link table carries its own
// spelling.
const char* const kLawPrefix[kLawVolumeCount] = {"H", "S", "G", "T", "Z", "M"};

}  // namespace

void pointLawQueryLookups(Query& query, Table* mainTable)
{
    query.SetLookupDataSet("Kubun", mainTable);
    query.SetLookupDataSet("Bangou", mainTable);
    query.SetLookupDataSet("Title", mainTable);
}

THoujin::THoujin()
{
    for (int v = 0; v < kLawVolumeCount; ++v) {
        std::string p = kLawPrefix[v];
        auto& c = volumes[static_cast<std::size_t>(v)];
        c.mainTable = std::make_unique<Table>(p + "MainTable");
        c.mainTable2 = std::make_unique<Table>(p + "MainTable2");
        c.subTable = std::make_unique<Table>(p + "SubTable");
        c.linkTable = std::make_unique<Table>(v == 3 ? "TLinKTable" : p + "LinkTable");
        c.treeTable = std::make_unique<Table>(p + "TreeTable");
        c.mainSource = std::make_unique<DataSource>(p + "MainSource");

        c.mainSource->setDataSet(c.mainTable.get());
        c.subTable->SetIndexFieldNames("Gyo");
        c.subTable->SetMasterFields("Gyo");
        c.subTable->SetMasterSource(c.mainSource.get());
        c.linkTable->SetIndexFieldNames("Gyo");

        c.mainTable->SetRequiredFields({"Gyo", "KubunNo", "Kubun", "Bangou", "Title"});
        c.mainTable2->SetRequiredFields({"Gyo", "KubunNo", "Kubun", "Bangou", "Title"});
        c.subTable->SetRequiredFields({"Gyo", "KubunNo", "Honbun"});
        c.linkTable->SetRequiredFields({"Gyo", "Sel", "GoGyo", "Zeimoku"});
        c.treeTable->SetRequiredFields({"Gyo", "TreeID"});
    }
    volumes[0].subTable->AfterScroll = [this](DataSet& d) { HMainTableAfterScroll(d); };
    volumes[1].subTable->AfterScroll = [this](DataSet& d) { SSubTableAfterScroll(d); };
    volumes[2].subTable->AfterScroll = [this](DataSet& d) { GSubTableAfterScroll(d); };
    volumes[3].subTable->AfterScroll = [this](DataSet& d) { TSubTableAfterScroll(d); };
    volumes[4].subTable->AfterScroll = [this](DataSet& d) { ZSubTableAfterScroll(d); };
    volumes[5].subTable->AfterScroll = [this](DataSet& d) { MSubTableAfterScroll(d); };

    for (int k = 0; k < kLawQueryPoolSize; ++k) {
        auto q = std::make_unique<Query>("JyobunSQL" + std::to_string(k));
        q->AddDataField("GYO", FieldType::Integer);
        q->AddDataField("KubunNO", FieldType::Integer);
        q->AddLookupField("Kubun", FieldType::Text, "GYO", "Gyo", "Kubun");
        q->AddLookupField("Bangou", FieldType::Text, "GYO", "Gyo", "Bangou");
        q->AddLookupField("Title", FieldType::Text, "GYO", "Gyo", "Title");
        JyobunSQL[static_cast<std::size_t>(k)] = std::move(q);
    }
}

void THoujin::HoujinCreate(TableRegistry& registry, const VolumeFiles& files)
{
    for (int v = 0; v < kLawVolumeCount; ++v) {
        if (!files.lawPresent(v))
            continue;
        auto& c = volumes[static_cast<std::size_t>(v)];
        auto& entry = registry.law[static_cast<std::size_t>(v)];
        entry.mainTable = c.mainTable.get();
        entry.mainTable2 = c.mainTable2.get();
        entry.linkTable = c.linkTable.get();
        entry.subTable = c.subTable.get();
        entry.mainSource = c.mainSource.get();
        entry.treeTable = c.treeTable.get();
    }
    for (int k = 0; k < kLawQueryPoolSize; ++k)
        registry.lawQueryPool[static_cast<std::size_t>(k)] = JyobunSQL[static_cast<std::size_t>(k)].get();

    try {
        for (int v = 0; v < kLawVolumeCount; ++v)
            if (files.lawPresent(v))
                openLawVolume(files, v);
    } catch (const TableError& e) {
        if (onOpenError)
            onOpenError(e.what());
    }
}

void THoujin::openLawVolume(const VolumeFiles& files, int v)
{
    CheckOneDelivery(files.lawTableFiles(v));
    auto& c = volumes[static_cast<std::size_t>(v)];
    c.linkTable->SetTableName(files.LawFileNames[4][v]);
    c.subTable->SetTableName(files.LawFileNames[2][v]);
    c.mainTable2->SetTableName(files.LawFileNames[1][v]);
    c.mainTable->SetTableName(files.LawFileNames[1][v]);
    c.treeTable->SetTableName(files.LawFileNames[5][v]);

    c.treeTable->Open();
    c.mainTable2->Open();
    c.mainTable->Open();
    c.linkTable->Open();
    c.subTable->Open();
}

void THoujin::CloseLawVolume(int v)
{
    auto& c = volumes[static_cast<std::size_t>(v)];
    // The sub table first, so that nothing follows a half-closed volume.
    c.subTable->Close();
    c.mainSource->setDataSet(c.mainTable.get());
    for (Table* t : {c.linkTable.get(), c.mainTable.get(), c.mainTable2.get(), c.treeTable.get()})
        t->Close();
}

void THoujin::ReopenLawVolume(const VolumeFiles& files, int v)
{
    if (!files.lawPresent(v))
        return;
    CloseLawVolume(v);
    openLawVolume(files, v);
}

}  // namespace store
