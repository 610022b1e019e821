// The product type editor: the standard and user product types with their weapon counts and
// total price; a user type's three weapon lists are edited in a dialog of their own; types are
// copied, deleted, and exchanged as update files.
#pragma once

#include <string>

#include "framework/window.h"
#include "gamedata/product_types.h"

class QListWidget;

namespace kv {

class GameDatabase;

class ProductTypeEditor : public Dialog {
public:
    static constexpr int kTemplateId = 170;
    enum Control : int {
        kIdList = 1000,
        kIdEdit,
        kIdCopy,
        kIdDelete,
        kIdImport,
        kIdExport,
        kIdClose
    };
    ProductTypeEditor(Window* owner, GameDatabase& db);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;

    // The slot of the current row, or -1.
    int currentSlot() const;
    void selectSlot(int slot);
    // The commands on the current slot.
    void editCurrent();
    void copyCurrent();
    void deleteCurrent();
    void importIntoCurrent();
    void exportCurrent();

private:
    void refill();
    void updateButtons();
    GameDatabase& db_;
};

// Edits a product type's name and its air, land and sea lists.
class ProductTypeEditDialog : public Dialog {
public:
    static constexpr int kTemplateId = 171;
    enum Control : int { kIdName = 1000, kIdAir, kIdLand, kIdSea, kIdTotal };
    ProductTypeEditDialog(Window* owner, const GameDatabase& db, const ProductType& record);
    int onInitDialog() override;
    int onCommand(MessageRecord& m, int id, int code) override;
    void exchangeData(bool toObject) override;
    const ProductType& record() const { return record_; }

private:
    void fillList(QListWidget* list, int which);
    void showTotal();
    const GameDatabase& db_;
    ProductType record_;
    bool filling_ = false;
};

// The number of weapons and the summed price (member count × per-member value) of a type.
struct ProductTypeFigures {
    int weapons = 0;
    long long price = 0;
};
ProductTypeFigures productTypeFigures(const GameDatabase& db, const ProductType& record);

}  // namespace kv
