# Sources of src/platform/windows, part of movra_core: the Windows side of
# each operating-system service declared in src/platform/.
target_sources(movra_core PRIVATE
)
