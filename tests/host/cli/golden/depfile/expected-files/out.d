@TMP@/out: \
  @TMP@/class.h.mtt \
  @TMP@/parts/head.mtt \
  @TMP@/model.json

@TMP@/class.h.mtt:

@TMP@/parts/head.mtt:

@TMP@/model.json:
