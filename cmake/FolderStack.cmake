# The folders of src/, lowest first. A folder includes only itself and the folders of lower
# rank; the page folders share a rank and never include one another.
set(ORV_STACK base model link params monitor firmware inspector autoconfig help setup map app)
set(ORV_RANK_base 0)
set(ORV_RANK_model 1)
set(ORV_RANK_link 2)
foreach(page params monitor firmware inspector autoconfig help setup map)
  set(ORV_RANK_${page} 3)
endforeach()
set(ORV_RANK_app 4)
