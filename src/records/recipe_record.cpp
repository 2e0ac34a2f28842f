#include "records/recipe_record.h"

#include "records/record_codec.h"

namespace kv {

static_assert(fieldsFillRecord<RecipeRecord>());
static_assert(fieldsFillRecord<LevelRecord>());

void RecipeRecord::encode(std::uint8_t* out) const { encodeFields(*this, out); }
RecipeRecord RecipeRecord::decode(const std::uint8_t* in) { return decodeFields<RecipeRecord>(in); }

void LevelRecord::encode(std::uint8_t* out) const { encodeFields(*this, out); }
LevelRecord LevelRecord::decode(const std::uint8_t* in) { return decodeFields<LevelRecord>(in); }

}  // namespace kv
