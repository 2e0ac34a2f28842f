// The refresh of every product's recipe cost, run by the analysis window when the recipe service asked
// for it: the analysis window's level build for each record of the product file, deleted or not.
#pragma once

#include <cstdint>
#include <string>

#include "common/dates.h"
#include "common/messages.h"
#include "common/product_file.h"

namespace kv {

// What the refresh needs of the analysis window.
class CostRefreshWindow {
 public:
  virtual ~CostRefreshWindow() = default;
  virtual std::int16_t currentRecord() const = 0;
  virtual void setCurrentRecord(std::int16_t record) = 0;
  // Shows the current record (and makes it the active one).
  virtual void showProduct() = 0;
  virtual void enableCostCommand(bool enabled) = 0;
};

// Every product of the window's open product file (counted afresh) is costed with the recipe date.
void RefreshAllRecipeCosts(CostRefreshWindow& window, ProductFile& products, const std::string& company,
                           Date recipeDate, MessageSink& messages, ProgressSink& title);

}  // namespace kv
