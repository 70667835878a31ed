-- J, W, Space or Z released: letting go early cuts the rise short, so a tap is a low hop.
function main()
    local player = GetController(GetPlayerID())
    if player ~= nil and player.y_vel > 0 then
        player.y_vel = player.y_vel * 0.5
    end
end
