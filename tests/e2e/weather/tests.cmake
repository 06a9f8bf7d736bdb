# The weather end-to-end tests need the forecast host answered by the local HTTPS server, in
# a session of their own instead of the shared shell session.
vessa_add_https_gtest(vessa_e2e_weather)
