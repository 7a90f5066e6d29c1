# Resizing and the kept pictures' file; decoding from the launcher's resources.
vantorra_add_test(pictures_tests pictures/ResampleTest.cpp pictures/PictureCacheTest.cpp
                  LIBS vantorra_resources)
