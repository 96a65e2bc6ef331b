# The spreadsheet export writes its workbooks with the spreadsheet writer.
target_link_libraries(reports PUBLIC xls)
