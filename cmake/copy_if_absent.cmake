# Copies the pristine file FROM to TO only when nothing is at TO: a rebuild never replaces a
# database that holds cases, nor a template an office has adapted.
if(NOT EXISTS "${TO}")
  file(COPY_FILE "${FROM}" "${TO}")
endif()
