@TMP@/out: \
  @TMP@/t.mtt \
  @TMP@/m.json

@TMP@/t.mtt:

@TMP@/m.json:
