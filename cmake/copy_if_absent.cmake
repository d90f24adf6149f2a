# Copies the pristine file FROM to TO only when nothing is at TO: a rebuild never replaces a
# database that holds cases, nor a template an office has adapted.
# The copy is made under a temporary name and renamed, so an interrupted build leaves no half file
# that would count as present from then on.
if(NOT EXISTS "${TO}")
  file(COPY_FILE "${FROM}" "${TO}.part")
  file(RENAME "${TO}.part" "${TO}" NO_REPLACE RESULT renamed)
  file(REMOVE "${TO}.part")
endif()
