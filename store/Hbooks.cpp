// Creation and opening of the book tables.
#include "store/Hbooks.h"

namespace store {

namespace {

const char* const kBookPrefix[kBookVolumeCount] = {"Hb", "Sb", "Tb"};

}  // namespace

void pointBookQueryLookups(Query& query, Table* mainTable)
{
    for (const char* f : {"BookNameShort", "Gou", "Mokuji", "BookPage"})
        query.SetLookupDataSet(f, mainTable);
}

THbooks::THbooks()
{
    for (int b = 0; b < kBookVolumeCount; ++b) {
        std::string p = kBookPrefix[b];
        auto& c = volumes[static_cast<std::size_t>(b)];
        c.mainTable = std::make_unique<Table>(p + "MainTable");
        c.subTable = std::make_unique<Table>(p + "SubTable");
        c.nameTable = std::make_unique<Table>(p + "NameTable");
        c.jumpTable = std::make_unique<Table>(p + "JumpTable");
        c.urlTable = std::make_unique<Table>(p + "UrlTable");
        c.mainSource = std::make_unique<DataSource>(p + "MainSource");

        c.mainSource->setDataSet(c.mainTable.get());
        c.subTable->SetIndexFieldNames("BookSeq");
        c.subTable->SetMasterFields("BookSeq");
        c.subTable->SetMasterSource(c.mainSource.get());

        std::vector<std::string> entryFields{"BookSeq", "BookNo", "BookRenban", "BookNameShort", "Gou", "BookPage", "Mokuji"};
        c.mainTable->SetRequiredFields(entryFields);
        c.subTable->SetRequiredFields(entryFields);
        c.nameTable->SetRequiredFields({"BookNo", "BookRenban", "BookNameLong", "BookHan", "BookSyupan"});
        c.jumpTable->SetRequiredFields({"BookSeq", "Gyo", "Zeimoku"});
        c.urlTable->SetRequiredFields({"BookSeq", "Url"});
    }
    volumes[0].subTable->AfterScroll = [this](DataSet& d) { HbMainTableAfterScroll(d); };
    volumes[1].subTable->AfterScroll = [this](DataSet& d) { SbSubTableAfterScroll(d); };
    volumes[2].subTable->AfterScroll = [this](DataSet& d) { TbSubTableAfterScroll(d); };

    for (int k = 0; k < kBookQueryPoolSize; ++k) {
        auto q = std::make_unique<Query>("BooksSQL" + std::to_string(k));
        q->AddDataField("BookSeq", FieldType::Integer);
        q->AddDataField("BookNo", FieldType::Integer);
        q->AddDataField("BookRenban", FieldType::Integer);
        q->AddLookupField("BookNameShort", FieldType::Text, "BookSeq", "BookSeq", "BookNameShort");
        q->AddLookupField("Gou", FieldType::Text, "BookSeq", "BookSeq", "Gou");
        q->AddLookupField("Mokuji", FieldType::Text, "BookSeq", "BookSeq", "Mokuji");
        q->AddLookupField("BookPage", FieldType::Float, "BookSeq", "BookSeq", "BookPage");
        BooksSQL[static_cast<std::size_t>(k)] = std::move(q);
    }
}

void THbooks::HbooksCreate(TableRegistry& registry, const VolumeFiles& files)
{
    for (int b = 0; b < kBookVolumeCount; ++b) {
        if (!files.bookPresent(b))
            continue;
        auto& c = volumes[static_cast<std::size_t>(b)];
        auto& entry = registry.book[static_cast<std::size_t>(b)];
        entry.mainTable = c.mainTable.get();
        entry.subTable = c.subTable.get();
        entry.nameTable = c.nameTable.get();
        entry.jumpTable = c.jumpTable.get();
        entry.urlTable = c.urlTable.get();
        entry.mainSource = c.mainSource.get();
    }
    for (int k = 0; k < kBookQueryPoolSize; ++k)
        registry.bookQueryPool[static_cast<std::size_t>(k)] = BooksSQL[static_cast<std::size_t>(k)].get();

    try {
        for (int b = 0; b < kBookVolumeCount; ++b)
            if (files.bookPresent(b))
                openBookVolume(files, b);
    } catch (const TableError& e) {
        if (onOpenError)
            onOpenError(e.what());
    }
}

void THbooks::openBookVolume(const VolumeFiles& files, int b)
{
    CheckOneDelivery(files.bookTableFiles(b));
    auto& c = volumes[static_cast<std::size_t>(b)];
    c.nameTable->SetTableName(files.BookFileNames[3][b]);
    c.subTable->SetTableName(files.BookFileNames[2][b]);
    c.jumpTable->SetTableName(files.BookFileNames[4][b]);
    c.urlTable->SetTableName(files.BookFileNames[5][b]);
    c.mainTable->SetTableName(files.BookFileNames[1][b]);

    c.mainTable->Open();
    c.nameTable->Open();
    c.jumpTable->Open();
    c.urlTable->Open();
    c.subTable->Open();
}

void THbooks::CloseBookVolume(int b)
{
    auto& c = volumes[static_cast<std::size_t>(b)];
    c.subTable->Close();
    c.mainSource->setDataSet(c.mainTable.get());
    for (Table* t : {c.urlTable.get(), c.jumpTable.get(), c.nameTable.get(), c.mainTable.get()})
        t->Close();
}

void THbooks::ReopenBookVolume(const VolumeFiles& files, int b)
{
    if (!files.bookPresent(b))
        return;
    CloseBookVolume(b);
    openBookVolume(files, b);
}

}  // namespace store
